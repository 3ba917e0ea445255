#pragma once
// A store in a program folder of its own, its options applied as after Open's
// dialog, with the recording user (who settles every conflict with the open
// log's value, as Enter does) and the real file system, no fault set.

#include "faulty_file_system.h"
#include "recording_interface.h"
#include "temporary_folder.h"

#include "logweave/log_store.h"
#include "logweave/operations.h"
#include "logweave/outcome.h"
#include "logweave/output_options.h"
#include "logweave/session.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace logweave::testing {

// The default options without a field order list.
inline OutputOptions withoutOrderList()
{
    OutputOptions options;
    options.fieldOrderFile.clear();
    return options;
}

struct Workbench {
    // Makes `programFolder` when it is absent.
    explicit Workbench(const std::filesystem::path& programFolder, OutputOptions options = withoutOrderList())
    {
        std::filesystem::create_directories(programFolder);
        session.programFolder = programFolder;
        ui.options = std::move(options);
    }
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // Reads `log` as the open log.
    Outcome read(const std::filesystem::path& log) { return readOpenLog(store, session, log.string(), ui.options); }
    // What the last operation wrote into the program folder.
    std::string written(std::string_view name = "Adif_File.adi") const { return readBytes(session.programFolder / name); }

    LogStore store;
    RecordingInterface ui;
    FaultyFileSystem files;
    Session session{ui, files, {}};
};

}  // namespace logweave::testing
