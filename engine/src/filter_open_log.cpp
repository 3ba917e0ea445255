#include "logweave/filter_open_log.h"

#include "logweave/pane_texts.h"
#include "logweave/text.h"
#include "logweave/write_record.h"

#include <algorithm>

namespace logweave {
namespace {

bool matches(std::string_view stored, std::string_view term) noexcept
{
    return stored.size() == term.size()
        && std::equal(stored.begin(), stored.end(), term.begin(),
                      [](char s, char t) { return asciiUpper(s) == t; });
}

std::string_view chooseHeader(const LogStore& store, HeaderSource source)
{
    switch (source) {
    case HeaderSource::AddedLog:
        return store.AddedHeader.empty() ? store.OpenHeader : store.AddedHeader;
    case HeaderSource::OpenLog:
        return store.OpenHeader;
    case HeaderSource::Program:
        break;
    }
    return store.ProgramHeader;
}

}  // namespace

std::vector<FilterTerm> parseFilter(const FieldTable& fields, std::string_view expression, std::string& refusal)
{
    const std::string upper = upperCased(expression);
    std::vector<FilterTerm> terms;
    if (upper.empty())
        return terms;  // no term: every record matches
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = upper.find(';', start);
        const std::string_view term = std::string_view(upper).substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::size_t colon = term.find(':');
        if (colon == std::string_view::npos) {
            refusal = pane::paragraph("Filtre refusé, le terme \"" + displayText(term)
                                      + "\" n'a pas de \":\" [Filter refused, the term \"" + displayText(term)
                                      + "\" has no \":\"]");
            return {};
        }
        if (terms.size() == static_cast<std::size_t>(kMaxFilterTerms)) {
            refusal = pane::paragraph("Filtre refusé, plus de 16 termes [Filter refused, more than 16 terms]");
            return {};
        }
        const std::string_view value = term.substr(colon + 1);
        std::optional<std::string> legacy;
        if (std::any_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
            legacy = utf8ToWindows1252(value);
        terms.push_back({fields.FindField(term.substr(0, colon)), std::string(value), std::move(legacy)});
        if (end == std::string::npos)
            return terms;
        start = end + 1;
    }
}

Outcome FilterOpenLog(Session& session, std::string_view expression)
{
    const LogStore& store = session.store;
    UserInterface& ui = session.ui;
    std::string refusal;
    const std::vector<FilterTerm> terms = parseFilter(store.fields, expression, refusal);
    if (!refusal.empty()) {
        ui.appendToPane(refusal);
        return Outcome::Stopped;
    }
    ui.appendToPane("* * *  Création des fichiers [Creation of the files] : Adif_FiltreX.adi   * * *\r\n\r\n");

    const OutputOptions options = ui.outputOptions();
    OutputNames names(store.fields, options.UpperCaseNames);
    std::string kept;
    std::string removed;
    const std::string_view header = chooseHeader(store, options.headerSource);
    writeHeaderLine(kept, store, header);
    writeHeaderLine(removed, store, header);
    long long keptCount = 0;
    for (int r = 1; r <= store.OpenRecordCount; ++r) {
        const bool matchesAll = std::all_of(terms.begin(), terms.end(), [&](const FilterTerm& t) {
            const std::string_view stored = store.FieldValues(t.field, r);
            return matches(stored, t.value) || (t.legacy && matches(stored, *t.legacy));
        });
        std::string& out = matchesAll ? removed : kept;
        WriteRecord(out, store.record(r), names);
        writeRecordEnd(out, store);
        keptCount += matchesAll ? 0 : 1;
    }
    try {
        session.files.writeFiles({{store.programFolder / "Adif_Filtre1.adi", kept},
                                  {store.programFolder / "Adif_Filtre2.adi", removed}});
    } catch (const FileError& error) {
        ui.appendToPane(pane::fileError(error));
        return Outcome::Stopped;
    }
    ui.appendToPane(signedCount(keptCount) + " enregistrements conservés dans 1 [records kept in 1].\r\n\r\n");
    return Outcome::Done;
}

}  // namespace logweave
