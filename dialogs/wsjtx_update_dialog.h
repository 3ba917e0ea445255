#pragma once
// Names the WSJT-X log and the log to merge into it; saves them so that the
// update runs at every start, or starts it now. Escape, as Cancel, does neither.

#include "logweave/operations.h"
#include "logweave/session.h"
#include "platform/platform.h"

#include <QDialog>

#include <array>
#include <functional>

class QKeyEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace logweave::dialogs {

class TwipsLayout;

class WsjtxUpdateDialog final : public QDialog {
    Q_OBJECT

public:
    // OK hands its update to `startUpdate`, which sets it going while the
    // dialog closes; the update has `options`, but for the rule of what is one contact, its own.
    WsjtxUpdateDialog(const Session& session, platform::Platform& platform, OutputOptions options,
                      std::function<void(const WsjtxUpdate&)> startUpdate, QWidget* parent = nullptr);

protected:
    // Enter and Return press the focused button; no button answers them by itself.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeFiles(TwipsLayout& form);
    void placeSameContact(TwipsLayout& form);
    void placeCommands(TwipsLayout& form);
    void clearPaths();
    void browseLogToUpdate();
    void browseLogToMerge();
    void runUpdate();
    void saveAutomation();
    void cancel();
    void enableCommands();
    QString browse(const QString& role);
    ContactMatch ruleFollowed() const;
    ContactMatch sameContact() const;

    const Session& session_;
    OutputOptions options_;
    std::function<void(const WsjtxUpdate&)> startUpdate_;
    platform::Platform& platform_;

    QLabel* explanationLabel_{};
    QLabel* logToUpdateLabel_{};
    QLineEdit* logToUpdateEdit_{};
    QPushButton* browseLogToUpdateButton_{};
    QLabel* logToMergeLabel_{};
    QLineEdit* logToMergeEdit_{};
    QPushButton* browseLogToMergeButton_{};
    QGroupBox* sameContactGroup_{};
    std::array<QRadioButton*, 2> sameContactButtons_{};
    // The window the unattended update follows, kept when the window is chosen.
    int windowMinutes_ = ContactMatch{}.minutes;
    QPushButton* saveButton_{};
    QPushButton* runUpdateButton_{};
    QPushButton* cancelButton_{};
};

}  // namespace logweave::dialogs
