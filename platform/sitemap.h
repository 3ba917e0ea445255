#pragma once
// The sitemaps of a compiled help file: its table of contents (.hhc) and its
// index (.hhk), HTML lists of <OBJECT type="text/sitemap"> entries, a nested
// <UL> for each level.

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace logweave::platform {

struct SitemapEntry {
    QString name;
    QString local;  // the page inside the file, empty for a heading without one
    std::vector<SitemapEntry> children;
};

std::vector<SitemapEntry> parseSitemap(QByteArrayView text);

// The first page of the list, depth first; empty when no entry names one.
QString firstPage(const std::vector<SitemapEntry>& entries);

// Help files are UTF-8 or, when older, Windows-1252.
QString decodeHelpText(QByteArrayView bytes);

}  // namespace logweave::platform
