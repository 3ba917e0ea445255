#include "shell/qt_user_interface.h"

#include "dialogs/conflict_dialog.h"
#include "dialogs/options_dialog.h"
#include "platform/busy_cursor.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace logweave::shell {

QtUserInterface::QtUserInterface(QPlainTextEdit& pane, platform::Platform& platform, QWidget* window)
    : pane_(pane), platform_(platform), window_(window), options_(platform.settings.outputOptions())
{
}

QtUserInterface::~QtUserInterface() = default;

void QtUserInterface::appendToPane(std::string_view utf8)
{
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Texts come while the user may be selecting or reading further up: the
    // selection stays, and the pane follows the end only when it showed it.
    QScrollBar* scroll = pane_.verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    QTextCursor end(pane_.document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    if (atEnd)
        scroll->setValue(scroll->maximum());
}

bool QtUserInterface::showOptionsDialog()
{
    if (!optionsDialog_)
        optionsDialog_ = std::make_unique<dialogs::OptionsDialog>(platform_, window_);
    optionsDialog_->setOptions(options_);
    // OK keeps the choices, for this run and the next; closing the window
    // otherwise brings back the options as they were saved.
    if (optionsDialog_->exec() != QDialog::Accepted) {
        options_ = platform_.settings.outputOptions();
        return false;
    }
    options_ = optionsDialog_->options();
    platform_.settings.saveOutputOptions(options_);
    return true;
}

Settlement QtUserInterface::settleConflict(const Conflict& conflict)
{
    // Over whichever window asked (the WSJT-X dialog during its update), modal to it alone.
    QWidget* over = QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() : window_;
    const platform::UsualCursor usual;
    dialogs::ConflictDialog dialog(conflict, over);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.exec();
    return {dialog.chosenValue(), dialog.sameChoiceUntilTheEnd(), dialog.mergeCancelled()};
}

}  // namespace logweave::shell
