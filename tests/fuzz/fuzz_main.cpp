// One libFuzzer binary for the engine's inputs; LOGWEAVE_FUZZ names which:
// reader, merge, merge-window, filter or config. Besides the
// sanitizers' findings, a broken invariant aborts.
//
// The files are real, in a folder of each input's own: the engine's own file
// system is fuzzed with it, and costs little beside the engine.

#include "count_of.h"
#include "workbench.h"

#include "logweave/automation_config.h"
#include "logweave/filter_expression.h"
#include "logweave/std_file_system.h"
#include "logweave/text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace logweave;
using testing::countOf;
using testing::RecordingInterface;
using testing::TemporaryFolder;
using testing::Workbench;

// What an output file holds before an operation: a stopped one must leave it so.
constexpr std::string_view kEarlier = "earlier content";

void check(bool invariant, const char* what)
{
    if (invariant)
        return;
    std::fprintf(stderr, "broken invariant: %s\n", what);
    std::abort();
}

// Every name finds its own entry or an earlier one, the table is upper case,
// and the sorted listing holds the table's names, as they were written.
void checkFields(const FieldTable& fields)
{
    std::vector<std::string> names;
    std::vector<std::string> listed;
    for (int i = 1; i <= fields.count(); ++i) {
        const std::string& name = fields.name(i);
        const int found = fields.indexOf(name);
        check(found >= 1 && found <= i, "a field's name finds its first entry");
        check(name == upperCased(name), "the table's names are upper case");
        names.push_back(name);
    }
    for (const std::string_view name : fields.sortedNames())
        listed.push_back(upperCased(name));
    std::sort(names.begin(), names.end());
    std::sort(listed.begin(), listed.end());
    check(names == listed, "the sorted listing holds the table's names");
}

// A record is a piece of its log's text; its values, pieces of the record,
// sorted by known field, none empty, each found by its field.
void checkRecord(const LogStore& store, const Record& record)
{
    const std::string_view text = store.openLog().text();
    check(record.text().data() >= text.data() && record.text().data() + record.text().size() <= text.data() + text.size(),
          "a record inside its log's text");
    std::uint32_t previous = 0;
    for (const FieldValue& v : record.values()) {
        check(v.field > previous && static_cast<int>(v.field) <= store.fields().count(),
              "values sorted by known field");
        check(v.size != 0 && std::size_t{v.offset} + v.size <= record.text().size(), "a value inside its record");
        check(record.value(static_cast<int>(v.field)) == record.valueOf(v), "a value found by its field");
        previous = v.field;
    }
}

void checkStore(const LogStore& store)
{
    checkFields(store.fields());
    check(store.openRecordCount() == static_cast<long long>(store.openLog().size()), "records numbered 1 to the count");
    for (long long r = 1; r <= store.openRecordCount(); ++r)
        checkRecord(store, store.record(r));
}

// The options come from the input's first byte.
OutputOptions optionsOf(unsigned char flags)
{
    OutputOptions options = testing::withoutOrderList();
    options.upperCaseNames = (flags & 1) != 0;
    options.doubleSpacing = (flags & 2) != 0;
    options.headerSource = static_cast<HeaderSource>((flags >> 2) % 3);
    return options;
}

// A program folder of the input's own, with every output file marked before
// the operation, to tell whether it was written.
struct Harness {
    explicit Harness(unsigned char flags) : work(folder / "program", optionsOf(flags)) {}

    TemporaryFolder folder;
    Workbench work;
    LogStore& store = work.store;
    RecordingInterface& ui = work.ui;
    OutputForm form = OutputForm::of(work.ui.options);

    Outcome open(std::string_view text) { return work.read(folder.write("open.adi", text)); }
    void markOutputs(std::initializer_list<std::string_view> names)
    {
        for (const std::string_view name : names)
            testing::writeBytes(work.session.programFolder / name, kEarlier);
    }
    std::string output(std::string_view name) const { return work.written(name); }
    bool unchanged(std::string_view name) const { return output(name) == kEarlier; }
};

// A log, after a field order list where a NUL byte parts them.
void fuzzReader(unsigned char flags, std::string_view text)
{
    Harness h(flags);
    if (const auto split = text.find('\0'); split != std::string_view::npos) {
        h.work.ui.options.fieldOrderFile = h.folder.write("order.txt", text.substr(0, split)).string();
        text.remove_prefix(split + 1);
    }
    h.markOutputs({"Adif_File.adi", "AdifCodes.txt"});
    if (h.open(text) == Outcome::Done) {
        check(!h.unchanged("Adif_File.adi") && !h.unchanged("AdifCodes.txt"), "a read writes its two files");
        check(countOf(h.output("Adif_File.adi"), h.form.endOfRecord) >= h.store.openRecordCount(),
              "every record read is written");
    } else {
        check(h.store.openRecordCount() == 0, "a stopped read leaves no log");
        check(h.unchanged("Adif_File.adi") && h.unchanged("AdifCodes.txt"), "a stopped read leaves its files");
    }
    checkStore(h.store);
}

// No answer: the open value, as Enter gives. Otherwise one typed value, maybe
// empty, maybe settling the field's later conflicts with a side.
std::deque<Settlement> answersFor(unsigned choice)
{
    if (choice == 0)
        return {};
    std::optional<ConflictSide> same;
    if ((choice & 3) != 0)
        same = static_cast<ConflictSide>((choice & 3) - 1);
    return {Settlement{(choice & 4) != 0 ? "" : "typed <x:1>y", same}};
}

// Only two different values of an open record make a conflict.
void checkConflicts(const RecordingInterface& ui, const FieldTable& fields, long long openRecords)
{
    for (const auto& seen : ui.conflicts) {
        // A tag without a name ("<:4>") is a field too: kept as written, its name empty.
        check(fields.indexOf(seen.field) >= 1, "a conflict names a field of the log");
        check(!seen.open.empty() && !seen.added.empty() && seen.open != seen.added, "a conflict of two values");
        check(seen.record >= 1 && seen.record <= openRecords, "a conflict of an open record");
    }
}

void fuzzMerge(unsigned char flags, std::string_view text, const ContactMatch& rule)
{
    // Two logs in one input, apart at the first NUL byte.
    const auto split = text.find('\0');
    const std::string_view open = text.substr(0, split);
    const std::string_view added = split == std::string_view::npos ? std::string_view{} : text.substr(split + 1);
    Harness h(flags);
    if (h.open(open) != Outcome::Done)
        return;
    const long long before = h.store.openRecordCount();
    h.ui.answers = answersFor(flags >> 4);
    h.markOutputs({"Logweave.adi", "Logweave.log"});
    OutputOptions options = h.work.ui.options;
    options.sameContact = rule;
    const Outcome merged = mergeAddedLog(h.store, h.work.session, h.folder.write("added.adi", added).string(), options);
    checkStore(h.store);
    checkConflicts(h.ui, h.store.fields(), before);
    if (merged == Outcome::Done) {
        check(h.store.openRecordCount() >= before, "a merge loses no record");
        check(!h.unchanged("Logweave.adi") && !h.unchanged("Logweave.log"), "a merge writes its two files");
        return;
    }
    check(h.store.openRecordCount() == before, "a stopped merge leaves the open log");
    check(h.unchanged("Logweave.adi") && h.unchanged("Logweave.log"), "a stopped merge leaves its files");
}

constexpr std::string_view kFilterLog = "h<EOH>\n<BAND:2>6m <MODE:3>FT8 <EOR>\n"
                                        "<BAND:3>20M <MODE:3>FT4 <NOTES:1>x <NAME:4>Jos\xE9 <EOR>\n"
                                        "<BAND:3>20m <MODE:3>ft8 <NAME:5>Jos\xC3\xA9 <EOR>\n<EOR>\n";

void fuzzFilter(unsigned char flags, std::string_view expression)
{
    Harness h(flags);
    check(h.open(kFilterLog) == Outcome::Done, "the filter's log is read");
    h.markOutputs({"Adif_Filtre1.adi", "Adif_Filtre2.adi"});
    const bool refused = std::holds_alternative<TermWithoutColon>(parseFilter(h.store.fields(), expression));
    const Outcome outcome = filterOpenLog(h.store, h.work.session, expression, h.work.ui.options);
    checkStore(h.store);
    check((outcome == Outcome::Stopped) == refused, "only a term without a colon stops a filter");
    if (refused) {
        check(h.unchanged("Adif_Filtre1.adi") && h.unchanged("Adif_Filtre2.adi"), "a refused filter writes nothing");
        return;
    }
    const long long split = countOf(h.output("Adif_Filtre1.adi"), h.form.endOfRecord)
        + countOf(h.output("Adif_Filtre2.adi"), h.form.endOfRecord);
    check(split == h.store.openRecordCount(), "every record goes to one of the two files");
}

// Logweave.cfg, read unattended at every start. Only read and saved here: the
// update it starts could touch any file its paths name. With the options' first
// bit, the paths start as ones already set, which a file naming none keeps.
void fuzzConfig(unsigned char flags, std::string_view text)
{
    const AutomationPaths start = (flags & 1) != 0 ? AutomationPaths{"/home/x/wsjtx_log.adi", "/home/x/qsl.adi", {}}
                                                   : AutomationPaths{};
    const AutomationPaths read = parseAutomationFile(text, start);
    for (const std::string& path : {read.logToUpdate, read.logToMerge})
        check(path.find_first_of("\r\n") == std::string::npos, "a path holds no CR or LF");
    const ContactMatch& rule = read.sameContact;
    check(rule == ContactMatch{} || (rule.rule == ContactRule::Window && rule.minutes > 0),
          "the rule is the default one or a window of some minutes");

    TemporaryFolder folder;
    StdFileSystem files;
    folder.write("Logweave.cfg", text);
    check(readAutomationFile(files, folder.path(), start) == read, "the file reads as its text");
    saveAutomationFile(files, folder.path(), read.logToUpdate, read.logToMerge, read.sameContact);
    check(readAutomationFile(files, folder.path(), {}) == read, "what is saved reads back the same");
}

using Target = void (*)(unsigned char flags, std::string_view text);

struct NamedTarget {
    std::string_view name;
    Target run;
};

constexpr std::array<NamedTarget, 5> kTargets{{
    {"reader", fuzzReader},
    {"merge", [](unsigned char flags, std::string_view text) { fuzzMerge(flags, text, {}); }},
    {"merge-window",
     [](unsigned char flags, std::string_view text) { fuzzMerge(flags, text, {ContactRule::Window, 30}); }},
    {"filter", fuzzFilter},
    {"config", fuzzConfig},
}};

Target target = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* name = std::getenv("LOGWEAVE_FUZZ");
    const std::string_view wanted = name == nullptr ? "reader" : name;
    for (const NamedTarget& t : kTargets)
        if (t.name == wanted)
            target = t.run;
    if (target != nullptr)
        return 0;
    std::fprintf(stderr, "LOGWEAVE_FUZZ: no target '%s'; one of reader, merge, merge-window, filter, config\n",
                 std::string(wanted).c_str());
    std::exit(2);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the options (upper case, double spacing, header, conflict answers).
    target(data[0], std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    return 0;
}
