#include "helpviewer/chm_browser.h"

#include "helpviewer/chm_archive.h"
#include "helpviewer/help_search.h"
#include "helpviewer/sitemap.h"

#include <QDesktopServices>
#include <QTextBlock>
#include <QTextDocument>

namespace logweave::helpviewer {
namespace {

const QString kScheme = QStringLiteral("chm");

QTextCharFormat markFormat()
{
    QTextCharFormat format;
    format.setBackground(QColor(255, 226, 64));
    format.setForeground(Qt::black);
    return format;
}

}  // namespace

ChmBrowser::ChmBrowser(QWidget* parent) : QTextBrowser(parent)
{
    // Links are followed here: the view alone would send "chm:" addresses to the desktop.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ChmBrowser::follow);
    // Marks belong to the page they were made on.
    connect(this, &QTextBrowser::sourceChanged, this, [this] { setExtraSelections({}); });
}

void ChmBrowser::setArchive(const ChmArchive* archive)
{
    archive_ = archive;
}

QUrl ChmBrowser::pageUrl(const QString& local)
{
    return QUrl(kScheme + u':' + pagePath(local));
}

QVariant ChmBrowser::loadResource(int type, const QUrl& name)
{
    // The document hands over addresses it resolved already; others are taken from the page shown.
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != kScheme)
        return QTextBrowser::loadResource(type, url);
    if (archive_ != nullptr) {
        if (const auto content = archive_->read(url.path().toUtf8().toStdString()))
            return QByteArray(content->data(), static_cast<qsizetype>(content->size()));
    }
    if (type != QTextDocument::HtmlResource)
        return {};
    return QStringLiteral("<p>Page introuvable dans le fichier d'aide [Page not found in the help file] : %1</p>")
        .arg(url.path().toHtmlEscaped());
}

void ChmBrowser::markWords(const QStringList& folded)
{
    QList<ExtraSelection> marks;
    const QTextCharFormat format = markFormat();
    // Block by block, as a block's text and its position in the document agree.
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (const HelpTextRange& range : HelpSearch::occurrences(block.text(), folded)) {
            const int start = block.position() + static_cast<int>(range.start);
            QTextCursor cursor(document());
            cursor.setPosition(start);
            cursor.setPosition(start + static_cast<int>(range.length), QTextCursor::KeepAnchor);
            marks.append({cursor, format});
        }
    }
    setExtraSelections(marks);
    if (marks.isEmpty())
        return;
    QTextCursor first = marks.front().cursor;
    first.setPosition(first.selectionStart());
    setTextCursor(first);
    ensureCursorVisible();
}

void ChmBrowser::follow(const QUrl& url)
{
    if (url.scheme() == kScheme)
        setSource(url);
    else
        QDesktopServices::openUrl(url);
}

}  // namespace logweave::helpviewer
