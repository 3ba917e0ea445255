#pragma once
// The built-in help window: a compiled help file's table of contents, index
// and full-text search beside its pages, with Back, Forward, Home and Print
// buttons. It has no owner and is never modal; Escape and Ctrl+W close it.

#include "platform/help_viewer.h"

#include <QMainWindow>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QIcon;
class QKeySequence;
class QSplitter;
class QTabWidget;
class QTextDocument;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace logweave::helpviewer {

class ChmArchive;
class ChmBrowser;
class HelpSearchPane;
struct ChmWindowType;
struct SitemapEntry;

class HelpWindow final : public QMainWindow {
    Q_OBJECT

public:
    // Prints a page: by default through the print dialog; tests, which have no printer, put their own.
    using PagePrinter = std::function<void(QWidget* parent, const QTextDocument& page)>;

    HelpWindow();
    ~HelpWindow() override;

    // Shows `archive` from now on, under the caption and with the buttons of
    // `windowType` when the file defines it, at the page and on the tab the
    // request asks for.
    void display(std::unique_ptr<ChmArchive> archive, const std::string& windowType,
                 const platform::HelpRequest& request);

    void setPagePrinter(PagePrinter printer);

    // Takes the size and place it was last closed at from `settings`, and
    // leaves them there each time it closes.
    void keepPlaceIn(platform::Settings& settings);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTabs();
    void buildToolBar();
    QAction* addButton(const char* name, const QString& caption, const QIcon& icon, const QKeySequence& keys);
    void showButtons(const ChmWindowType* type);
    void fill(const std::vector<SitemapEntry>& contents, const std::vector<SitemapEntry>& keywords);
    void widenForContents();
    void start(const QUrl& page);
    void showTab(const platform::HelpRequest& request);

    void openItem(QTreeWidgetItem* item);
    void openFound(const QString& page, const QStringList& foldedWords);
    // Keeps the contents entry of the page shown selected.
    void markPage(const QUrl& url);
    void goHome();
    void print();

    std::unique_ptr<ChmArchive> archive_;
    QUrl home_;
    PagePrinter printer_;
    platform::Settings* settings_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QTreeWidget* index_ = nullptr;
    HelpSearchPane* search_ = nullptr;
    ChmBrowser* page_ = nullptr;
    QToolBar* buttons_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* homeButton_ = nullptr;
    QAction* print_ = nullptr;
    QAction* closeAction_ = nullptr;
};

}  // namespace logweave::helpviewer
