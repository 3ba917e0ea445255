#pragma once
// The sitemaps of a compiled help file: its table of contents (.hhc) and its
// index (.hhk), HTML lists of <OBJECT type="text/sitemap"> entries, a nested
// <UL> for each level.

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace logweave::helpviewer {

struct SitemapEntry {
    QString name;
    QString local;  // the page inside the file, empty for a heading without one
    std::vector<SitemapEntry> children;
};

std::vector<SitemapEntry> parseSitemap(QByteArrayView text);

// The first page of the list, depth first; empty when no entry names one.
QString firstPage(const std::vector<SitemapEntry>& entries);

// The path inside the file of the page an entry or a link names, "/page.html",
// with its place ("#...") when it names one.
QString pagePath(const QString& local);

// Help files are UTF-8 or, when older, Windows-1252.
QString decodeHelpText(QByteArrayView bytes);

}  // namespace logweave::helpviewer
