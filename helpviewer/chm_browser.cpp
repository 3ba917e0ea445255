#include "helpviewer/chm_browser.h"

#include "helpviewer/chm_archive.h"
#include "helpviewer/help_search.h"
#include "helpviewer/sitemap.h"

#include <QDesktopServices>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>
#include <vector>

namespace logweave::helpviewer {
namespace {

const QString kScheme = QStringLiteral("chm");

// The size a picture is shown at where the page is wide enough, kept in its format.
constexpr int kNaturalSize = QTextFormat::UserProperty + 1;

// The size the page gives a picture, else its own.
QSizeF naturalSize(const QTextImageFormat& picture, QTextDocument& document)
{
    // As read from the file at first, as the document keeps it after.
    const QVariant data = document.resource(QTextDocument::ImageResource, QUrl(picture.name()));
    const QSizeF own = data.typeId() == QMetaType::QByteArray ? QSizeF(QImage::fromData(data.toByteArray()).size())
                       : data.typeId() == QMetaType::QPixmap  ? QSizeF(data.value<QPixmap>().size())
                                                              : QSizeF(data.value<QImage>().size());
    if (own.isEmpty())
        return {};
    if (picture.width() > 0 && picture.height() > 0)
        return {picture.width(), picture.height()};
    if (picture.width() > 0)
        return {picture.width(), own.height() * picture.width() / own.width()};
    if (picture.height() > 0)
        return {own.width() * picture.height() / own.height(), picture.height()};
    return own;
}

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

void ChmBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type)
{
    QTextBrowser::doSetSource(name, type);
    fitPictures();
}

void ChmBrowser::resizeEvent(QResizeEvent* event)
{
    QTextBrowser::resizeEvent(event);
    fitPictures();
}

// Each picture at its own size (or the one its page gives it) where that fits
// the page, else scaled down to the page's width.
void ChmBrowser::fitPictures()
{
    struct Change {
        int position;
        int length;
        QTextImageFormat format;
    };
    std::vector<Change> changes;  // made once the page is read through
    const qreal page = viewport()->width() - 2 * document()->documentMargin();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const qreal room = page - block.blockFormat().leftMargin() - block.blockFormat().rightMargin();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextImageFormat picture = it.fragment().charFormat().toImageFormat();
            if (!picture.isValid())
                continue;
            const QSizeF natural = picture.hasProperty(kNaturalSize) ? picture.property(kNaturalSize).toSizeF()
                                                                     : naturalSize(picture, *document());
            if (natural.isEmpty())
                continue;  // not found: the page's own placeholder
            const QSizeF shown = natural * std::min(1.0, std::max(room, 1.0) / natural.width());
            if (picture.hasProperty(kNaturalSize) && qFuzzyCompare(picture.width(), shown.width()))
                continue;
            picture.setProperty(kNaturalSize, natural);
            picture.setWidth(shown.width());
            picture.setHeight(shown.height());
            changes.push_back({it.fragment().position(), it.fragment().length(), picture});
        }
    }
    for (const Change& change : changes) {
        QTextCursor cursor(document());
        cursor.setPosition(change.position);
        cursor.setPosition(change.position + change.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(change.format);
    }
}

void ChmBrowser::follow(const QUrl& url)
{
    if (url.scheme() == kScheme)
        setSource(url);
    else
        QDesktopServices::openUrl(url);
}

}  // namespace logweave::helpviewer
