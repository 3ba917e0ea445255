#include "logweave/filter_expression.h"
#include "logweave/operations.h"

#include "logweave/pane_texts.h"
#include "logweave/text.h"
#include "writing/write_record.h"
#include "progress_meter.h"
#include "reporting_stops.h"
#include "side_by_side.h"
#include "writing/streamed_text.h"
#include "writing/write_records.h"

#include <algorithm>

namespace logweave {
namespace {

bool matches(std::string_view stored, std::string_view term) noexcept
{
    return stored.size() == term.size()
        && std::equal(stored.begin(), stored.end(), term.begin(),
                      [](char s, char t) { return asciiUpper(s) == t; });
}

bool matchesAll(const Record& record, const std::vector<FilterTerm>& terms)
{
    return std::all_of(terms.begin(), terms.end(), [&record](const FilterTerm& t) {
        const std::string_view stored = record.value(t.field);
        return matches(stored, t.value) || (t.legacy && matches(stored, *t.legacy));
    });
}

FilterTerm termOf(const FieldTable& fields, std::string_view name, std::string_view value)
{
    std::optional<std::string> legacy;
    if (std::any_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        legacy = utf8ToWindows1252(value);
    return {fields.indexOf(name), std::string(value), std::move(legacy)};
}

Outcome writeFilterFiles(const LogStore& store, const Session& session, const std::vector<FilterTerm>& terms,
                         const OutputForm& form)
{
    const auto files = session.files.writeFiles({session.programFolder / "Adif_Filtre1.adi",
                                                 session.programFolder / "Adif_Filtre2.adi"});
    StreamedText kept(files->file(0));
    StreamedText removed(files->file(1));
    const std::string header = chooseHeader(store.openHeader(), store.addedHeader(), form);
    writeHeaderLine(kept.text(), form, header);
    writeHeaderLine(removed.text(), form, header);
    ProgressMeter meter(session.ui, Phase::Filtering, store.openLog().size());
    // A record that matches every term goes to the second file.
    const auto formatter = [&store, &terms, &form]() -> RecordFormatter {
        return [&store, &terms, &form, names = OutputNames(store.fields(), form.upperCaseNames)](
                   std::size_t r, std::span<std::string* const> texts) mutable {
            const Record& record = store.openLog()[r];
            const std::size_t file = matchesAll(record, terms) ? 1 : 0;
            writeRecord(*texts[file], record, names);
            writeRecordEnd(*texts[file], form);
            return file;
        };
    };
    StreamedText* const texts[] = {&kept, &removed};
    const auto counts = writeRecords(texts, store.openLog().size(),
                                     piecesFor(store.openLog().text().size(), session.threads), formatter,
                                     [&meter](std::size_t done) { meter.advanceTo(done); });
    const auto keptCount = static_cast<long long>(counts[0]);
    kept.finish();
    removed.finish();
    stopIfCancelled(session.ui);
    files->commit();
    session.ui.appendToPane(pane::recordsKept(keptCount));
    return Outcome::Done;
}

}  // namespace

std::variant<std::vector<FilterTerm>, TermWithoutColon> parseFilter(const FieldTable& fields,
                                                                    std::string_view expression)
{
    const std::string upper = upperCased(expression);
    std::vector<FilterTerm> terms;
    if (upper.empty())
        return terms;  // no term: every record matches
    for (std::size_t start = 0;;) {
        const std::size_t end = upper.find(';', start);
        const std::string_view term = std::string_view(upper).substr(start, end == std::string::npos ? end : end - start);
        const std::size_t colon = term.find(':');
        if (colon == std::string_view::npos)
            return TermWithoutColon{std::string(term)};
        terms.push_back(termOf(fields, term.substr(0, colon), term.substr(colon + 1)));
        if (end == std::string::npos)
            return terms;
        start = end + 1;
    }
}

Outcome filterOpenLog(const LogStore& store, const Session& session, std::string_view expression,
                      const OutputOptions& options)
{
    const auto parsed = parseFilter(store.fields(), expression);
    if (const auto* refused = std::get_if<TermWithoutColon>(&parsed)) {
        session.ui.appendToPane(pane::filterRefused(refused->term));
        return Outcome::Stopped;
    }
    session.ui.appendToPane(pane::filterFiles());
    const auto& terms = std::get<std::vector<FilterTerm>>(parsed);
    if (const auto outcome = reportingStops(session.ui, store.openLogPath(),
                                            [&] { return writeFilterFiles(store, session, terms, OutputForm::of(options)); }))
        return *outcome;
    return Outcome::Stopped;
}

}  // namespace logweave
