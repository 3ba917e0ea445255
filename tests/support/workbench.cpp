#include "workbench.h"

#include "temporary_folder.h"

#include "logweave/operations.h"

namespace logweave::testing {

OutputOptions withoutOrderList()
{
    OutputOptions options;
    options.fieldOrderFile.clear();
    return options;
}

Workbench::Workbench(const std::filesystem::path& programFolder, OutputOptions options)
{
    session.programFolder = programFolder;
    std::filesystem::create_directories(programFolder);
    ui.options = std::move(options);
}

Outcome Workbench::read(const std::filesystem::path& log)
{
    return readOpenLog(store, session, log.string(), ui.options);
}

std::string Workbench::written(std::string_view name) const
{
    return readBytes(session.programFolder / name);
}

}  // namespace logweave::testing
