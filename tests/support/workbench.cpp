#include "workbench.h"

#include "temporary_folder.h"

#include "logweave/load_output_options.h"
#include "logweave/read_open_log.h"

namespace logweave::testing {

OutputOptions withoutOrderList()
{
    OutputOptions options;
    options.fieldOrderFile.clear();
    return options;
}

Workbench::Workbench(const std::filesystem::path& programFolder, OutputOptions options)
{
    store.programFolder = programFolder;
    std::filesystem::create_directories(programFolder);
    ui.options = std::move(options);
    applyOutputOptions(session, ui.options);
}

Outcome Workbench::read(const std::filesystem::path& log)
{
    return readOpenLog(session, log.string());
}

std::string Workbench::written(std::string_view name) const
{
    return readBytes(store.programFolder / name);
}

}  // namespace logweave::testing
