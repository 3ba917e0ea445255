#include "platform/help_window.h"

#include "platform/chm_archive.h"
#include "platform/chm_browser.h"
#include "platform/sitemap.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cctype>

namespace logweave::platform {
namespace {

QTreeWidget* sitemapTree(const char* name)
{
    auto* tree = new QTreeWidget;
    tree->setObjectName(QString::fromLatin1(name));
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
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

bool endsWith(const std::string& name, std::string_view suffix)
{
    return name.size() >= suffix.size()
        && std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char s, char n) { return s == std::tolower(static_cast<unsigned char>(n)); });
}

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
                                        [suffix](const std::string& f) { return endsWith(f, suffix); });
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

}  // namespace

HelpWindow::HelpWindow()
{
    setObjectName(QStringLiteral("HelpWindow"));
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("Tabs"));
    contents_ = sitemapTree("Contents");
    index_ = sitemapTree("Index");
    tabs_->addTab(contents_, QStringLiteral("Sommaire [Contents]"));
    tabs_->addTab(index_, QStringLiteral("Index"));
    page_ = new ChmBrowser;
    page_->setObjectName(QStringLiteral("Page"));

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(tabs_);
    splitter->addWidget(page_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({320, 640});
    setCentralWidget(splitter);
    resize(960, 680);

    for (QTreeWidget* tree : {contents_, index_}) {
        connect(tree, &QTreeWidget::itemClicked, this, &HelpWindow::openItem);
        connect(tree, &QTreeWidget::itemActivated, this, &HelpWindow::openItem);
    }
    connect(page_, &QTextBrowser::sourceChanged, this, &HelpWindow::markPage);
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::display(std::unique_ptr<ChmArchive> archive, const std::string& windowType, HelpCommand command)
{
    const ChmSystemInfo& system = archive->system();
    const ChmWindowType* type = archive->windowType(windowType);
    if (type == nullptr)
        type = archive->windowType(system.defaultWindow);

    QString caption = type != nullptr ? helpText(type->caption) : QString();
    if (caption.isEmpty())
        caption = helpText(system.title);
    if (caption.isEmpty())
        caption = QFileInfo(QFile::decodeName(archive->path().c_str())).fileName();
    setWindowTitle(caption);

    const auto toc = sitemapOf(*archive, type != nullptr && !type->contentsFile.empty() ? type->contentsFile
                                                                                         : system.contentsFile,
                               ".hhc");
    const auto keywords =
        sitemapOf(*archive, type != nullptr && !type->indexFile.empty() ? type->indexFile : system.indexFile, ".hhk");
    QString first = firstPage(toc);
    if (first.isEmpty() && type != nullptr)
        first = helpText(type->homeFile);
    if (first.isEmpty())
        first = helpText(system.defaultTopic);

    // The old file goes only once nothing shown refers to it any more.
    page_->setArchive(archive.get());
    std::swap(archive_, archive);
    contents_->clear();
    index_->clear();
    addEntries(contents_, nullptr, toc);
    addEntries(index_, nullptr, keywords);
    contents_->expandAll();
    const QUrl start = ChmBrowser::pageUrl(first);
    // The same address in another file must still be read again.
    if (page_->source() == start)
        page_->reload();
    else
        page_->setSource(start);
    page_->clearHistory();
    tabs_->setCurrentWidget(command == HelpCommand::DisplayIndex ? index_ : contents_);
}

void HelpWindow::openItem(QTreeWidgetItem* item)
{
    const QString local = item->data(0, Qt::UserRole).toString();
    if (!local.isEmpty())
        page_->setSource(ChmBrowser::pageUrl(local));
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

}  // namespace logweave::platform
