#pragma once
// The search tab of the help window: words to look for, the pages holding
// them by title, and the page the user chooses with the words to mark in it.

#include "helpviewer/help_search.h"
#include "helpviewer/sitemap.h"

#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace logweave::helpviewer {

class ChmArchive;

class HelpSearchPane final : public QWidget {
    Q_OBJECT

public:
    explicit HelpSearchPane(QWidget* parent = nullptr);

    // The file to search from now on, which must outlive its use here; it is
    // read at its first search only.
    void setArchive(const ChmArchive* archive, std::vector<SitemapEntry> contents);

    // Puts `words` in the box, selected so that typing replaces them, without searching.
    void offer(const QString& words);

signals:
    void pageChosen(const QString& page, const QStringList& foldedWords);

private:
    void search();
    void choose(QListWidgetItem* item);

    const ChmArchive* archive_ = nullptr;
    std::vector<SitemapEntry> contents_;
    std::optional<HelpSearch> index_;
    QStringList searched_;
    QLineEdit* text_ = nullptr;
    QPushButton* button_ = nullptr;
    QLabel* status_ = nullptr;
    QListWidget* results_ = nullptr;
};

}  // namespace logweave::helpviewer
