#include "platform/chm_browser.h"

#include "platform/chm_archive.h"

#include <QDesktopServices>
#include <QTextDocument>

namespace logweave::platform {
namespace {

const QString kScheme = QStringLiteral("chm");

}  // namespace

ChmBrowser::ChmBrowser(QWidget* parent) : QTextBrowser(parent)
{
    // Links are followed here: the view alone would send "chm:" addresses to the desktop.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ChmBrowser::follow);
}

void ChmBrowser::setArchive(const ChmArchive* archive)
{
    archive_ = archive;
}

QUrl ChmBrowser::pageUrl(const QString& local)
{
    // "ms-its:Other.chm::/page.html" and the like name a page after "::".
    QString path = local.contains(QStringLiteral("::")) ? local.section(QStringLiteral("::"), -1) : local;
    path.replace(u'\\', u'/');
    if (!path.startsWith(u'/'))
        path.prepend(u'/');
    return QUrl(kScheme + u':' + path);
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

void ChmBrowser::follow(const QUrl& url)
{
    if (url.scheme() == kScheme)
        setSource(url);
    else
        QDesktopServices::openUrl(url);
}

}  // namespace logweave::platform
