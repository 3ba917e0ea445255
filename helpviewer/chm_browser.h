#pragma once
// A page view whose pages, pictures and style sheets come from inside a
// compiled help file, addressed as "chm:/page.html". Words a search found can
// be marked on the page shown, until another is shown. Pictures wider than
// the page are shown smaller, to its width.

#include <QTextBrowser>

namespace logweave::helpviewer {

class ChmArchive;

class ChmBrowser final : public QTextBrowser {
    Q_OBJECT

public:
    explicit ChmBrowser(QWidget* parent = nullptr);

    // The file stays owned by the caller and must outlive its use here.
    void setArchive(const ChmArchive* archive);

    // The address of a page named as a sitemap or a link inside the file names it.
    static QUrl pageUrl(const QString& local);

    QVariant loadResource(int type, const QUrl& name) override;

    // Marks where the words stand, as the help search folds them, and brings the first into view.
    void markWords(const QStringList& folded);

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void follow(const QUrl& url);
    void fitPictures();

    const ChmArchive* archive_ = nullptr;
};

}  // namespace logweave::helpviewer
