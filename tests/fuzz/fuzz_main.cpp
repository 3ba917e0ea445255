// One libFuzzer binary for the engine's inputs; LOGWEAVE_FUZZ names which:
// reader, merge, filter, config or order. Besides the sanitizers' findings, a
// broken invariant aborts.

#include "logweave/automation_config.h"
#include "logweave/filter_open_log.h"
#include "logweave/load_field_order.h"
#include "logweave/load_output_options.h"
#include "logweave/merge_added_log.h"
#include "logweave/read_open_log.h"
#include "memory_file_system.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace logweave;

class SilentInterface final : public UserInterface {
public:
    void appendToPane(std::string_view) override {}
    OutputOptions outputOptions() override { return options; }
    void showOptionsDialog() override {}
    Settlement settleConflict(const Conflict& conflict) override
    {
        if (conflict.open.empty() || conflict.added.empty() || conflict.open == conflict.added)
            std::abort();  // only two different values make a conflict
        return {sideValue(static_cast<ConflictSide>(choice % 3), conflict.open, conflict.added), std::nullopt};
    }
    OutputOptions options{"", false, false, HeaderSource::AddedLog, {}};
    unsigned char choice = 0;
};

void check(bool invariant, const char* what)
{
    if (!invariant) {
        std::fprintf(stderr, "broken invariant: %s\n", what);
        std::abort();
    }
}

// The store as the engine leaves it: within its bounds, every value a piece of its record.
void checkStore(const LogStore& store)
{
    check(store.OpenRecordCount >= 0 && store.OpenRecordCount <= kMaxRecords, "record count within bounds");
    check(store.fields.FieldCount() <= kMaxFields, "field count within bounds");
    for (int r = 0; r <= store.OpenRecordCount; ++r) {
        const Record& record = store.record(r);
        int previous = 0;
        for (const FieldValue& v : record.values()) {
            check(v.field > previous && v.field <= store.fields.FieldCount(), "values sorted by known field");
            check(v.size != 0 && std::size_t{v.offset} + v.size <= record.text().size(), "value inside its record");
            previous = v.field;
        }
    }
}

struct Harness {
    LogStore store;
    SilentInterface ui;
    fuzzing::MemoryFileSystem files;
    Session session{store, ui, files};

    explicit Harness(unsigned char flags)
    {
        store.programFolder = "/program";
        ui.options.UpperCaseNames = (flags & 1) != 0;
        ui.options.DoubleSpacing = (flags & 2) != 0;
        ui.options.headerSource = static_cast<HeaderSource>((flags >> 2) % 3);
        ui.choice = static_cast<unsigned char>(flags >> 4);
        applyOutputOptions(session, ui.options);
    }
    Outcome open(std::string_view text)
    {
        files.files["/in/open.adi"] = std::string(text);
        return ReadOpenLog(session, "/in/open.adi");
    }
};

void fuzzReader(unsigned char flags, std::string_view text)
{
    Harness h(flags);
    if (h.open(text) == Outcome::Done)
        check(h.files.files.count("/program/Adif_File.adi") == 1, "a read writes its log");
    checkStore(h.store);
}

void fuzzMerge(unsigned char flags, std::string_view text)
{
    // Two logs in one input, apart at the first NUL byte.
    const auto split = text.find('\0');
    const std::string_view open = text.substr(0, split);
    const std::string_view added = split == std::string_view::npos ? std::string_view{} : text.substr(split + 1);
    Harness h(flags);
    if (h.open(open) != Outcome::Done)
        return;
    const int before = h.store.OpenRecordCount;
    h.files.files["/in/added.adi"] = std::string(added);
    const Outcome merged = MergeAddedLog(h.session, "/in/added.adi");
    checkStore(h.store);
    if (merged == Outcome::Done)
        check(h.store.OpenRecordCount >= before, "a merge loses no record");
    else
        check(h.store.OpenRecordCount == before, "a stopped merge leaves the open log");
}

void fuzzFilter(unsigned char flags, std::string_view expression)
{
    Harness h(flags);
    h.open("h<EOH>\n<BAND:2>6m <MODE:3>FT8 <EOR>\n<BAND:3>20M <MODE:3>FT4 <NOTES:1>x <EOR>\n<EOR>\n");
    if (FilterOpenLog(h.session, expression) == Outcome::Done)
        check(h.files.files.count("/program/Adif_Filtre2.adi") == 1, "a filter writes both files");
    checkStore(h.store);
}

void fuzzConfig(std::string_view text)
{
    const AutomationPaths paths = parseAutomationConfig(text, {});
    check(paths.FicToUpdate.size() <= text.size() && paths.FicToMerge.size() <= text.size(), "paths come from the text");
}

void fuzzOrder(unsigned char flags, std::string_view text)
{
    Harness h(flags);
    h.files.files["/in/order.txt"] = std::string(text);
    LoadFieldOrder(h.session, "/in/order.txt");
    checkStore(h.store);
    h.open("<CALL:5>Q1ABC <QSO_DATE:8>20230101 <EOR>");
    checkStore(h.store);
}

std::string_view target;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* name = std::getenv("LOGWEAVE_FUZZ");
    target = name == nullptr ? "reader" : name;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned char flags = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (target == "reader")
        fuzzReader(flags, text);
    else if (target == "merge")
        fuzzMerge(flags, text);
    else if (target == "filter")
        fuzzFilter(flags, text);
    else if (target == "config")
        fuzzConfig(text);
    else if (target == "order")
        fuzzOrder(flags, text);
    else
        std::abort();
    return 0;
}
