#pragma once
// A program folder of its own, a store, a recording user and the file system.

#include "faulty_file_system.h"
#include "recording_interface.h"
#include "temporary_folder.h"

#include "logweave/load_output_options.h"
#include "logweave/read_open_log.h"
#include "logweave/session.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace logweave::testing {

// A log as its contacts: each record's fields by name, in table order.
using Contact = std::vector<std::pair<std::string, std::string>>;

inline std::vector<Contact> contactsOf(const LogStore& store)
{
    std::vector<Contact> log;
    for (int r = 1; r <= store.OpenRecordCount; ++r) {
        Contact contact;
        for (const auto& v : store.record(r).values())
            contact.emplace_back(store.fields.FieldNames(v.field), std::string(store.record(r).valueOf(v)));
        log.push_back(std::move(contact));
    }
    return log;
}

class EngineTest : public ::testing::Test {
protected:
    EngineTest() { store.programFolder = folder.path(); }

    // Options as the user left them, no field order list unless one is set.
    void applyOptions()
    {
        ui.options.FieldOrderFile.clear();
        applyOutputOptions(session, ui.options);
    }
    void applyOptions(const std::string& fieldOrderFile)
    {
        ui.options.FieldOrderFile = fieldOrderFile;
        applyOutputOptions(session, ui.options);
    }

    // Writes `content` as a log and reads it as the open log.
    Outcome open(std::string_view content, std::string_view name = "open.adi")
    {
        if (store.EorTag.empty())
            applyOptions();
        const auto path = folder.write(name, content);
        store.OpenLogPath = path.string();
        return ReadOpenLog(session, path.string());
    }

    std::string value(std::string_view field, int record) const
    {
        return std::string(store.FieldValues(store.fields.FindField(field), record));
    }

    TemporaryFolder folder;
    LogStore store;
    RecordingInterface ui;
    FaultyFileSystem files;
    Session session{store, ui, files};
};

}  // namespace logweave::testing
