#pragma once
// A program folder of its own, a store, a recording user and the file system;
// a Workbench reads a log again apart from the fixture's store.

#include "faulty_file_system.h"
#include "recording_interface.h"
#include "temporary_folder.h"
#include "workbench.h"

#include "logweave/merge_counts.h"
#include "logweave/operations.h"
#include "logweave/pane_texts.h"

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
    for (const Record& record : store.openLog()) {
        Contact contact;
        for (const auto& v : record.values())
            contact.emplace_back(store.fields().name(static_cast<int>(v.field)), std::string(record.valueOf(v)));
        log.push_back(std::move(contact));
    }
    return log;
}

// "<CALL:n>call <QSO_DATE:8>date <TIME_ON:n>time more<EOR>" and a line break.
inline std::string qso(std::string_view call, std::string_view date, std::string_view time, std::string_view more = "")
{
    return "<CALL:" + std::to_string(call.size()) + ">" + std::string(call) + " <QSO_DATE:" + std::to_string(date.size())
        + ">" + std::string(date) + " <TIME_ON:" + std::to_string(time.size()) + ">" + std::string(time) + " "
        + std::string(more) + "<EOR>\n";
}

class EngineTest : public ::testing::Test {
protected:
    // The options as the user left them, without a field order list.
    EngineTest() { ui.options.fieldOrderFile.clear(); }

    // Writes `content` as a log and reads it as the open log.
    Outcome open(std::string_view content, std::string_view name = "open.adi")
    {
        const auto path = folder.write(name, content);
        return readOpenLog(store, session, path.string(), ui.options);
    }

    // Writes `content` as a log and merges it into the open log.
    Outcome add(std::string_view content, const ContactMatch& rule = {})
    {
        const auto path = folder.write("added.adi", content);
        OutputOptions options = ui.options;
        options.sameContact = rule;
        return mergeAddedLog(store, session, path.string(), options);
    }

    bool paneHas(std::string_view text) const { return ui.pane.find(text) != std::string::npos; }

    std::string value(std::string_view field, long long record) const
    {
        return std::string(store.fieldValue(store.fields().indexOf(field), record));
    }

    TemporaryFolder folder;
    LogStore store;
    RecordingInterface ui;
    FaultyFileSystem files;
    Session session{ui, files, folder.path()};
};

}  // namespace logweave::testing
