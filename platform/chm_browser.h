#pragma once
// A page view whose pages, pictures and style sheets come from inside a
// compiled help file, addressed as "chm:/page.html".

#include <QTextBrowser>

namespace logweave::platform {

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

private:
    void follow(const QUrl& url);

    const ChmArchive* archive_ = nullptr;
};

}  // namespace logweave::platform
