#include "helpviewer/help_search.h"

#include "helpviewer/chm_archive.h"
#include "helpviewer/chm_browser.h"

#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace logweave::helpviewer {
namespace {

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

// Calls `take(start, length)` for each word of `text`.
template <typename Take>
void forEachWord(QStringView text, Take take)
{
    qsizetype at = 0;
    while (at < text.size()) {
        while (at < text.size() && !isWordPart(text[at]))
            ++at;
        const qsizetype start = at;
        while (at < text.size() && isWordPart(text[at]))
            ++at;
        if (at > start)
            take(start, at - start);
    }
}

QString fold(QStringView word)
{
    // Compatibility decomposition also splits ligatures such as "ﬁ".
    const QString decomposed = word.toString().normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!c.isMark())
            folded += c;
    }
    return folded.toCaseFolded();
}

bool isHtmlPage(std::string_view path)
{
    return endsWithIgnoringCase(path, ".html") || endsWithIgnoringCase(path, ".htm");
}

// The name of each page in the contents, by its path in lower case: paths inside a help file ignore case.
void collectNames(const std::vector<SitemapEntry>& entries, QHash<QString, QString>& names)
{
    for (const SitemapEntry& entry : entries) {
        const QString path = pagePath(entry.local).section(u'#', 0, 0).toLower();
        if (!entry.local.isEmpty() && !entry.name.isEmpty() && !names.contains(path))
            names.insert(path, entry.name);
        collectNames(entry.children, names);
    }
}

}  // namespace

HelpSearch HelpSearch::ofArchive(const ChmArchive& archive, const std::vector<SitemapEntry>& contents)
{
    QHash<QString, QString> names;
    collectNames(contents, names);
    HelpSearch search;
    for (const std::string& file : archive.files()) {
        if (!isHtmlPage(file))
            continue;
        const auto html = archive.read(file);
        if (!html)
            continue;
        const QString path = QString::fromUtf8(file);
        search.addPage(path, QByteArrayView(html->data(), static_cast<qsizetype>(html->size())),
                       names.value(path.toLower()));
    }
    return search;
}

void HelpSearch::addPage(const QString& path, QByteArrayView html, const QString& contentsName)
{
    QTextDocument document;
    // Style sheets and pictures are then looked for in the help file, where this document finds none,
    // and never in the current folder.
    document.setBaseUrl(ChmBrowser::pageUrl(path));
    // Read as the page view reads it, so that the words found are the words shown.
    document.setHtml(decodeHelpText(html));

    Page page{path, document.metaInformation(QTextDocument::DocumentTitle).simplified(), {}};
    for (const QString& text : {page.title, document.toPlainText()}) {
        for (const QString& word : foldedWords(text))
            ++page.words[word];
    }
    if (page.title.isEmpty())
        page.title = contentsName.isEmpty() ? path : contentsName;
    pages_.push_back(std::move(page));
}

std::vector<HelpSearchHit> HelpSearch::find(const QString& query) const
{
    QStringList words = foldedWords(query);
    words.removeDuplicates();
    std::vector<HelpSearchHit> hits;
    if (words.isEmpty())
        return hits;
    for (const Page& page : pages_) {
        int count = 0;
        const bool all = std::all_of(words.begin(), words.end(), [&](const QString& word) {
            const int here = page.words.value(word);
            count += here;
            return here > 0;
        });
        if (all)
            hits.push_back({page.path, page.title, count});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const HelpSearchHit& a, const HelpSearchHit& b) {
        return a.count != b.count ? a.count > b.count : a.title.localeAwareCompare(b.title) < 0;
    });
    return hits;
}

QStringList HelpSearch::foldedWords(QStringView text)
{
    QStringList words;
    forEachWord(text, [&](qsizetype start, qsizetype length) { words << fold(text.sliced(start, length)); });
    return words;
}

std::vector<HelpTextRange> HelpSearch::occurrences(QStringView text, const QStringList& folded)
{
    std::vector<HelpTextRange> ranges;
    forEachWord(text, [&](qsizetype start, qsizetype length) {
        if (folded.contains(fold(text.sliced(start, length))))
            ranges.push_back({start, length});
    });
    return ranges;
}

}  // namespace logweave::helpviewer
