#pragma once
// What the last merge did, as Logweave_Changes.csv lists it, in a table that
// sorts by any column clicked.

#include "logweave/change_list.h"

#include <QDialog>

#include <vector>

class QLabel;
class QTableView;

namespace logweave::dialogs {

class ChangesDialog final : public QDialog {
    Q_OBJECT

public:
    // `rows` are the list's, its header row first; `file` is where it was read.
    ChangesDialog(const QString& file, std::vector<ChangeRow> rows, QWidget* parent = nullptr);

private:
    QLabel* fileLabel_{};
    QTableView* changesTable_{};
};

}  // namespace logweave::dialogs
