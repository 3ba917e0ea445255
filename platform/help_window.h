#pragma once
// The built-in help window: a compiled help file's table of contents and
// index beside its pages. It has no owner and is never modal.

#include "platform/help_viewer.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QTabWidget;
class QUrl;
class QTreeWidget;
class QTreeWidgetItem;

namespace logweave::platform {

class ChmArchive;
class ChmBrowser;
struct SitemapEntry;

class HelpWindow final : public QMainWindow {
    Q_OBJECT

public:
    HelpWindow();
    ~HelpWindow() override;

    // Shows `archive` from now on, under the caption of `windowType` when the
    // file defines it, at the first page of its table of contents.
    void display(std::unique_ptr<ChmArchive> archive, const std::string& windowType, HelpCommand command);

private:
    void openItem(QTreeWidgetItem* item);
    // Keeps the contents entry of the page shown selected.
    void markPage(const QUrl& url);

    std::unique_ptr<ChmArchive> archive_;
    QTabWidget* tabs_;
    QTreeWidget* contents_;
    QTreeWidget* index_;
    ChmBrowser* page_;
};

}  // namespace logweave::platform
