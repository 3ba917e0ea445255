#pragma once
// A dialog that the Escape key does not close: what the user chose there is
// never dropped by a key. Its buttons and its close box end it.

#include <QDialog>

class QKeyEvent;

namespace logweave::dialogs {

class EscapeKeptDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace logweave::dialogs
