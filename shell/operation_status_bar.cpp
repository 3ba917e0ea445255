#include "shell/operation_status_bar.h"

#include "logweave/pane_texts.h"

#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace logweave::shell {
namespace {

// An operation shorter than this shows no bar, which would only flicker.
constexpr int kDelayMs = 500;
constexpr int kRefreshMs = 50;
constexpr int kBarSteps = 1000;

QString phaseName(Phase phase)
{
    const std::string_view name = pane::phaseName(phase);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// Thousands apart by a space that never breaks the line, as French writes them.
QString grouped(std::uint64_t number)
{
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QChar(0x00A0));
    return digits;
}

}  // namespace

QString progressText(const Progress& progress)
{
    if (progress.total == 0)  // nothing counted yet
        return phaseName(progress.phase);
    // Reading and sorting count the log's bytes, the other phases its records.
    const bool bytes = progress.phase == Phase::Reading || progress.phase == Phase::Sorting;
    return QStringLiteral("%1 %2 / %3%4")
        .arg(phaseName(progress.phase), grouped(progress.done), grouped(progress.total),
             bytes ? QStringLiteral(" octets [bytes]") : QString());
}

OperationStatusBar::OperationStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("operationStatusBar"));
    setSizeGripEnabled(false);
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setRange(0, kBarSteps);
    progressBar_->setTextVisible(true);
    addWidget(progressBar_, 1);
    cancelOperationButton_ = new QPushButton(QStringLiteral("Annuler [Cancel]"), this);
    cancelOperationButton_->setObjectName(QStringLiteral("cancelOperationButton"));
    addPermanentWidget(cancelOperationButton_);
    hide();

    delay_.setSingleShot(true);
    delay_.setTimerType(Qt::PreciseTimer);  // a coarse one may fire 5 % early
    delay_.setInterval(kDelayMs);
    refresh_.setInterval(kRefreshMs);
    connect(&delay_, &QTimer::timeout, this, [this] {
        showProgress();
        show();
        refresh_.start();
    });
    connect(&refresh_, &QTimer::timeout, this, &OperationStatusBar::showProgress);
    connect(cancelOperationButton_, &QPushButton::clicked, this, [this] {
        cancelOperationButton_->setEnabled(false);  // once is enough: the operation stops at its next step
        emit cancelClicked();
    });
}

void OperationStatusBar::follow(std::function<Progress()> progress)
{
    progress_ = std::move(progress);
    cancelOperationButton_->setEnabled(true);
    delay_.start();
}

void OperationStatusBar::stop()
{
    delay_.stop();
    refresh_.stop();
    hide();
}

void OperationStatusBar::showProgress()
{
    const Progress progress = progress_();
    const std::uint64_t done = std::min(progress.done, progress.total);
    const double part = progress.total == 0 ? 0.0 : static_cast<double>(done) / static_cast<double>(progress.total);
    progressBar_->setValue(static_cast<int>(part * kBarSteps));
    progressBar_->setFormat(progressText(progress));
}

}  // namespace logweave::shell
