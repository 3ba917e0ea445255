#include "helpviewer/help_search_pane.h"

#include "helpviewer/chm_archive.h"
#include "platform/busy_cursor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace logweave::helpviewer {
namespace {

QString summary(std::size_t found)
{
    if (found == 0)
        return QStringLiteral("Aucune page trouvée [No page found]");
    if (found == 1)
        return QStringLiteral("1 page trouvée [1 page found]");
    return QStringLiteral("%1 pages trouvées [%1 pages found]").arg(found);
}

}  // namespace

HelpSearchPane::HelpSearchPane(QWidget* parent)
    : QWidget(parent), text_(new QLineEdit), button_(new QPushButton(QStringLiteral("Chercher [Search]"))),
      status_(new QLabel), results_(new QListWidget)
{
    setObjectName(QStringLiteral("Search"));
    text_->setObjectName(QStringLiteral("SearchText"));
    text_->setPlaceholderText(QStringLiteral("Mots à chercher [Words to look for]"));
    text_->setClearButtonEnabled(true);
    button_->setObjectName(QStringLiteral("SearchButton"));
    status_->setObjectName(QStringLiteral("SearchStatus"));
    status_->setWordWrap(true);
    results_->setObjectName(QStringLiteral("SearchResults"));

    auto* query = new QHBoxLayout;
    query->addWidget(text_, 1);
    query->addWidget(button_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(query);
    layout->addWidget(status_);
    layout->addWidget(results_, 1);

    connect(text_, &QLineEdit::returnPressed, this, &HelpSearchPane::search);
    connect(button_, &QPushButton::clicked, this, &HelpSearchPane::search);
    connect(results_, &QListWidget::itemActivated, this, &HelpSearchPane::choose);
}

void HelpSearchPane::setArchive(const ChmArchive* archive, std::vector<SitemapEntry> contents)
{
    archive_ = archive;
    contents_ = std::move(contents);
    index_.reset();
    searched_.clear();
    results_->clear();
    status_->clear();
}

void HelpSearchPane::offer(const QString& words)
{
    text_->setText(words);
    text_->selectAll();
    text_->setFocus();
}

void HelpSearchPane::search()
{
    results_->clear();
    searched_ = HelpSearch::foldedWords(text_->text());
    if (archive_ == nullptr || searched_.isEmpty()) {
        status_->clear();
        return;
    }
    if (!index_) {
        // Every page is read once, at the first search of a file.
        const platform::BusyCursor busy;
        index_ = HelpSearch::ofArchive(*archive_, contents_);
    }
    const auto hits = index_->find(text_->text());
    for (const HelpSearchHit& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, results_);
        item->setData(Qt::UserRole, hit.page);
        item->setToolTip(hit.page);
    }
    if (!hits.empty())
        results_->setCurrentRow(0);
    status_->setText(summary(hits.size()));
}

void HelpSearchPane::choose(QListWidgetItem* item)
{
    emit pageChosen(item->data(Qt::UserRole).toString(), searched_);
}

}  // namespace logweave::helpviewer
