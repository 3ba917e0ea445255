#pragma once
// The engine's tests: a program folder of their own, a store, a recording user
// and the file system; a second Workbench reads a log apart from the first.

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

// A Workbench in a folder of the test's own, and ways to write a log there and use it.
class EngineTest : public ::testing::Test {
protected:
    // Writes `content` as a log and reads it as the open log.
    Outcome open(std::string_view content, std::string_view name = "open.adi") { return bench.read(folder.write(name, content)); }

    // Writes `content` as a log and merges it into the open log.
    Outcome add(std::string_view content, const ContactMatch& rule = {})
    {
        OutputOptions options = ui.options;
        options.sameContact = rule;
        return mergeAddedLog(store, session, folder.write("added.adi", content).string(), options);
    }

    bool paneHas(std::string_view text) const { return ui.pane.find(text) != std::string::npos; }

    std::string value(std::string_view field, long long record) const
    {
        return std::string(store.fieldValue(store.fields().indexOf(field), record));
    }

    TemporaryFolder folder;
    Workbench bench{folder.path()};
    LogStore& store = bench.store;
    RecordingInterface& ui = bench.ui;
    FaultyFileSystem& files = bench.files;
    Session& session = bench.session;
};

}  // namespace logweave::testing
