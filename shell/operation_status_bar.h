#pragma once
// The main window's status bar while an operation runs: after half a second,
// the phase and how far it has got, with a button to cancel the operation.
// Hidden the rest of the time, so that the window looks as before when idle.

#include "logweave/progress.h"

#include <QStatusBar>
#include <QTimer>

#include <functional>

class QProgressBar;
class QPushButton;

namespace logweave::shell {

// "Fusion [Merging] 120 000 / 2 000 000": the phase, then what is done of the total.
QString progressText(const Progress& progress);

class OperationStatusBar final : public QStatusBar {
    Q_OBJECT

public:
    explicit OperationStatusBar(QWidget* parent = nullptr);

    // An operation began; `progress` says how far it has got, whenever asked.
    void follow(std::function<Progress()> progress);
    // It ended.
    void stop();

signals:
    void cancelClicked();

private:
    void showProgress();

    QProgressBar* progressBar_{};
    QPushButton* cancelOperationButton_{};
    QTimer delay_;
    QTimer refresh_;
    std::function<Progress()> progress_;
};

}  // namespace logweave::shell
