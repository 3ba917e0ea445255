#include "dialogs/changes_dialog.h"

#include "logweave/text.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace logweave::dialogs {
namespace {

QString shown(std::string_view bytes)
{
    return QString::fromStdString(displayText(bytes));
}

// The rows as they were read; the view sorts through a proxy, not here.
class ChangeRowsModel final : public QAbstractTableModel {
public:
    ChangeRowsModel(std::vector<ChangeRow> rows, QObject* parent)
        : QAbstractTableModel(parent), rows_(std::move(rows))
    {
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() || rows_.empty() ? 0 : static_cast<int>(rows_.size() - 1);
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() || rows_.empty() ? 0 : static_cast<int>(rows_.front().size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        const ChangeRow& row = rows_[static_cast<std::size_t>(index.row()) + 1];
        const auto column = static_cast<std::size_t>(index.column());
        return column < row.size() ? shown(row[column]) : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || rows_.empty())
            return QAbstractTableModel::headerData(section, orientation, role);
        return shown(rows_.front()[static_cast<std::size_t>(section)]);
    }

private:
    std::vector<ChangeRow> rows_;
};

}  // namespace

ChangesDialog::ChangesDialog(const QString& file, std::vector<ChangeRow> rows, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ChangesDialog"));
    setWindowTitle(QStringLiteral("Changements de la dernière fusion [Changes of the last merge]"));
    fileLabel_ = new QLabel(file, this);
    fileLabel_->setObjectName(QStringLiteral("fileLabel"));
    fileLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(new ChangeRowsModel(std::move(rows), this));
    changesTable_ = new QTableView(this);
    changesTable_->setObjectName(QStringLiteral("changesTable"));
    changesTable_->setModel(sorted);
    changesTable_->setSortingEnabled(true);
    changesTable_->sortByColumn(-1, Qt::AscendingOrder);  // as the merge wrote them until a column is clicked
    changesTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    changesTable_->horizontalHeader()->setStretchLastSection(true);
    changesTable_->resizeColumnsToContents();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileLabel_);
    layout->addWidget(changesTable_);
    resize(900, 500);
}

}  // namespace logweave::dialogs
