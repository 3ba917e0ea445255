#include "helpviewer/help_window.h"

#include "helpviewer/chm_archive.h"
#include "helpviewer/chm_browser.h"
#include "helpviewer/help_search_pane.h"
#include "helpviewer/sitemap.h"
#include "platform/settings.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace logweave::helpviewer {
namespace {

QTreeWidget* sitemapTree(const char* name)
{
    auto* tree = new QTreeWidget;
    tree->setObjectName(QString::fromLatin1(name));
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    // Titles whole, never cut short: a narrow panel scrolls them instead.
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    return tree;
}

void addEntries(QTreeWidget* tree, QTreeWidgetItem* parent, const std::vector<SitemapEntry>& entries)
{
    for (const SitemapEntry& entry : entries) {
        auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, entry.name.isEmpty() ? entry.local : entry.name);
        item->setData(0, Qt::UserRole, entry.local);
        addEntries(tree, item, entry.children);
    }
}

// The window's name among the places the settings keep.
const QString kPlaceName = QStringLiteral("help");

std::string objectPath(const std::string& name)
{
    return name.starts_with('/') ? name : "/" + name;
}

// The sitemap a window type names, else the one #SYSTEM names, else the first one the file holds.
std::vector<SitemapEntry> sitemapOf(const ChmArchive& archive, std::string named, std::string_view suffix)
{
    if (named.empty()) {
        const auto files = archive.files();
        const auto found = std::find_if(files.begin(), files.end(),
                                        [suffix](const std::string& f) { return endsWithIgnoringCase(f, suffix); });
        if (found == files.end())
            return {};
        named = *found;
    }
    const auto text = archive.read(objectPath(named));
    return text ? parseSitemap(QByteArrayView(text->data(), static_cast<qsizetype>(text->size())))
                : std::vector<SitemapEntry>{};
}

QString helpText(const std::string& bytes)
{
    return decodeHelpText(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

const ChmWindowType* windowTypeOf(const ChmArchive& archive, const std::string& named)
{
    const ChmWindowType* type = archive.windowType(named);
    return type != nullptr ? type : archive.windowType(archive.system().defaultWindow);
}

QString captionOf(const ChmArchive& archive, const ChmWindowType* type)
{
    QString caption = type != nullptr ? helpText(type->caption) : QString();
    if (caption.isEmpty())
        caption = helpText(archive.system().title);
    if (caption.isEmpty())
        caption = QFileInfo(QFile::decodeName(archive.path().c_str())).fileName();
    return caption;
}

QString homeFileOf(const ChmWindowType* type)
{
    return type != nullptr ? helpText(type->homeFile) : QString();
}

QString firstGiven(std::initializer_list<QString> pages)
{
    const auto given = std::find_if(pages.begin(), pages.end(), [](const QString& page) { return !page.isEmpty(); });
    return given != pages.end() ? *given : QString();
}

// The page a request opens: the one of its context number when the file maps it, else
// the first of the contents, else the window type's first page, else the file's.
QString firstPageOf(const ChmArchive& archive, const ChmWindowType* type, const std::vector<SitemapEntry>& contents,
                    const platform::HelpRequest& request)
{
    if (request.command == platform::HelpCommand::HelpContext) {
        if (const auto page = archive.contextPage(request.data))
            return QString::fromUtf8(*page);
    }
    return firstGiven({firstPage(contents), homeFileOf(type), helpText(archive.system().defaultTopic)});
}

// The window type's home page, else the first of the contents, else the file's first page.
QString homePageOf(const ChmArchive& archive, const ChmWindowType* type, const std::vector<SitemapEntry>& contents)
{
    return firstGiven({homeFileOf(type), firstPage(contents), helpText(archive.system().defaultTopic)});
}

void printWithDialog(QWidget* parent, const QTextDocument& page)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Imprimer [Print]"));
    if (dialog.exec() == QDialog::Accepted)
        page.print(&printer);
}

}  // namespace

HelpWindow::HelpWindow() : printer_(printWithDialog)
{
    setObjectName(QStringLiteral("HelpWindow"));
    page_ = new ChmBrowser;
    page_->setObjectName(QStringLiteral("Page"));
    buildTabs();
    buildToolBar();

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(tabs_);
    splitter_->addWidget(page_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setChildrenCollapsible(false);
    splitter_->setSizes({320, 640});
    setCentralWidget(splitter_);
    resize(960, 680);

    for (QTreeWidget* tree : {contents_, index_}) {
        connect(tree, &QTreeWidget::itemClicked, this, &HelpWindow::openItem);
        connect(tree, &QTreeWidget::itemActivated, this, &HelpWindow::openItem);
    }
    connect(search_, &HelpSearchPane::pageChosen, this, &HelpWindow::openFound);
    connect(page_, &QTextBrowser::sourceChanged, this, &HelpWindow::markPage);

    // Keys only: the toolbar holds the buttons the help file asks for.
    closeAction_ = new QAction(this);
    closeAction_->setObjectName(QStringLiteral("closeAction"));
    closeAction_->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    addAction(closeAction_);
    connect(closeAction_, &QAction::triggered, this, &QWidget::close);
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::buildTabs()
{
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("Tabs"));
    // Every tab's caption whole: the panel is never narrower than they are.
    tabs_->setElideMode(Qt::ElideNone);
    tabs_->setUsesScrollButtons(false);
    contents_ = sitemapTree("Contents");
    index_ = sitemapTree("Index");
    search_ = new HelpSearchPane;
    tabs_->addTab(contents_, QStringLiteral("Sommaire [Contents]"));
    tabs_->addTab(index_, QStringLiteral("Index"));
    tabs_->addTab(search_, QStringLiteral("Rechercher [Search]"));
}

void HelpWindow::buildToolBar()
{
    buttons_ = QMainWindow::addToolBar(QStringLiteral("Navigation"));
    buttons_->setObjectName(QStringLiteral("Buttons"));
    buttons_->setMovable(false);
    buttons_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_ = addButton("Back", QStringLiteral("Précédent [Back]"), style()->standardIcon(QStyle::SP_ArrowBack),
                      QKeySequence::Back);
    forward_ = addButton("Forward", QStringLiteral("Suivant [Forward]"),
                         style()->standardIcon(QStyle::SP_ArrowForward), QKeySequence::Forward);
    homeButton_ = addButton("Home", QStringLiteral("Accueil [Home]"), style()->standardIcon(QStyle::SP_DirHomeIcon),
                            QKeySequence(Qt::ALT | Qt::Key_Home));
    print_ = addButton("Print", QStringLiteral("Imprimer [Print]"), QIcon::fromTheme(QStringLiteral("document-print")),
                       QKeySequence::Print);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    connect(back_, &QAction::triggered, page_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, page_, &QTextBrowser::forward);
    connect(homeButton_, &QAction::triggered, this, &HelpWindow::goHome);
    connect(print_, &QAction::triggered, this, &HelpWindow::print);
    connect(page_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(page_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
}

QAction* HelpWindow::addButton(const char* name, const QString& caption, const QIcon& icon, const QKeySequence& keys)
{
    QAction* action = buttons_->addAction(icon, caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    return action;
}

void HelpWindow::display(std::unique_ptr<ChmArchive> archive, const std::string& windowType,
                         const platform::HelpRequest& request)
{
    const ChmWindowType* type = windowTypeOf(*archive, windowType);
    setWindowTitle(captionOf(*archive, type));
    showButtons(type);

    const ChmSystemInfo& system = archive->system();
    const auto toc = sitemapOf(*archive, type != nullptr && !type->contentsFile.empty() ? type->contentsFile
                                                                                         : system.contentsFile,
                               ".hhc");
    const auto keywords =
        sitemapOf(*archive, type != nullptr && !type->indexFile.empty() ? type->indexFile : system.indexFile, ".hhk");
    const QUrl first = ChmBrowser::pageUrl(firstPageOf(*archive, type, toc, request));
    home_ = ChmBrowser::pageUrl(homePageOf(*archive, type, toc));

    // The old file goes only once nothing shown refers to it any more.
    page_->setArchive(archive.get());
    search_->setArchive(archive.get(), toc);
    std::swap(archive_, archive);
    fill(toc, keywords);
    start(first);
    showTab(request);
}

void HelpWindow::setPagePrinter(PagePrinter printer)
{
    printer_ = std::move(printer);
}

void HelpWindow::showButtons(const ChmWindowType* type)
{
    // A window type that records its buttons gets those, any other all four.
    const std::uint32_t shown = type != nullptr && type->buttons ? *type->buttons : ~std::uint32_t{0};
    back_->setVisible((shown & ChmButton::Back) != 0);
    forward_->setVisible((shown & ChmButton::Forward) != 0);
    homeButton_->setVisible((shown & ChmButton::Home) != 0);
    print_->setVisible((shown & ChmButton::Print) != 0);
    const auto actions = buttons_->actions();
    buttons_->setVisible(std::any_of(actions.begin(), actions.end(), [](QAction* a) { return a->isVisible(); }));
}

void HelpWindow::fill(const std::vector<SitemapEntry>& contents, const std::vector<SitemapEntry>& keywords)
{
    contents_->clear();
    index_->clear();
    addEntries(contents_, nullptr, contents);
    addEntries(index_, nullptr, keywords);
    contents_->expandAll();
    if (isVisible())
        widenForContents();
}

void HelpWindow::keepPlaceIn(platform::Settings& settings)
{
    // Once: a window already up stays where the user has it.
    if (settings_ == nullptr)
        restoreGeometry(settings.windowGeometry(kPlaceName));
    settings_ = &settings;
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    if (settings_ != nullptr)
        settings_->saveWindowGeometry(kPlaceName, saveGeometry());
    QMainWindow::closeEvent(event);
}

void HelpWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    widenForContents();
}

// Wide enough to show the whole contents, up to half the window: the page keeps the rest.
void HelpWindow::widenForContents()
{
    const int around = tabs_->width() - contents_->viewport()->width();
    const int titles = static_cast<const QAbstractItemView*>(contents_)->sizeHintForColumn(0);
    const int panel = std::min(titles + contents_->verticalScrollBar()->sizeHint().width() + around, width() / 2);
    const QList<int> sizes = splitter_->sizes();
    if (sizes[0] < panel)
        splitter_->setSizes({panel, sizes[0] + sizes[1] - panel});
}

void HelpWindow::start(const QUrl& page)
{
    // The same address in another file must still be read again.
    if (page_->source() == page)
        page_->reload();
    else
        page_->setSource(page);
    page_->clearHistory();
}

void HelpWindow::showTab(const platform::HelpRequest& request)
{
    switch (request.command) {
    case platform::HelpCommand::DisplayIndex:
        tabs_->setCurrentWidget(index_);
        return;
    case platform::HelpCommand::DisplaySearch:
        tabs_->setCurrentWidget(search_);
        // The words arrive ready to run or to replace, but the search waits for the user:
        // a caller's words need not be the ones the user is looking for.
        search_->offer(request.search ? QString::fromStdString(request.search->query) : QString());
        return;
    case platform::HelpCommand::DisplayToc:
    case platform::HelpCommand::HelpContext:
        break;
    }
    tabs_->setCurrentWidget(contents_);
}

void HelpWindow::openItem(QTreeWidgetItem* item)
{
    const QString local = item->data(0, Qt::UserRole).toString();
    if (!local.isEmpty())
        page_->setSource(ChmBrowser::pageUrl(local));
}

void HelpWindow::openFound(const QString& page, const QStringList& foldedWords)
{
    page_->setSource(ChmBrowser::pageUrl(page));
    page_->markWords(foldedWords);
}

void HelpWindow::markPage(const QUrl& url)
{
    // The entry of the very place shown, else the first one of its page, else none.
    const QUrl page = url.adjusted(QUrl::RemoveFragment);
    QTreeWidgetItem* found = nullptr;
    for (QTreeWidgetItemIterator it(contents_); *it != nullptr; ++it) {
        const QUrl entry = ChmBrowser::pageUrl((*it)->data(0, Qt::UserRole).toString());
        if (entry == url) {
            found = *it;
            break;
        }
        if (found == nullptr && entry.adjusted(QUrl::RemoveFragment) == page)
            found = *it;
    }
    contents_->setCurrentItem(found);
}

void HelpWindow::goHome()
{
    page_->setSource(home_);
}

void HelpWindow::print()
{
    if (printer_)
        printer_(this, *page_->document());
}

}  // namespace logweave::helpviewer
