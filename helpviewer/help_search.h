#pragma once
// Full-text search over the pages of a help file. Words are compared folded,
// in lower case and without accents, so that "Emetteur" finds "émetteur"; a
// page is found when it holds every word of the query.

#include "helpviewer/sitemap.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace logweave::helpviewer {

class ChmArchive;

struct HelpSearchHit {
    QString page;  // the path inside the file, "/page.html"
    QString title;
    int count = 0;  // how often the words of the query stand on the page
};

struct HelpTextRange {
    qsizetype start = 0;
    qsizetype length = 0;
};

class HelpSearch final {
public:
    // Every HTML page the file holds, listed in its contents or not.
    static HelpSearch ofArchive(const ChmArchive& archive, const std::vector<SitemapEntry>& contents);

    // A page without a title goes by `contentsName`, else by its path.
    void addPage(const QString& path, QByteArrayView html, const QString& contentsName = {});
    std::size_t pageCount() const noexcept { return pages_.size(); }

    // The pages holding every word of `query`, those with the most hits first.
    std::vector<HelpSearchHit> find(const QString& query) const;

    // The words of a text as they are compared.
    static QStringList foldedWords(QStringView text);
    // Where the words of `text` that are among `folded` stand, in order.
    static std::vector<HelpTextRange> occurrences(QStringView text, const QStringList& folded);

private:
    struct Page {
        QString path;
        QString title;
        QHash<QString, int> words;
    };

    std::vector<Page> pages_;
};

}  // namespace logweave::helpviewer
