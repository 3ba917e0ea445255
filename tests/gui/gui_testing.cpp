#include "gui_testing.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace logweave::testing {

void whenModal(const std::function<void()>& show, std::function<void(QWidget*)> act)
{
    bool finished = false;
    // A dialog already up is the one that shows this one, not this one.
    QWidget* const before = QApplication::activeModalWidget();
    QTimer watch;  // goes with this call, whether a dialog came up or not
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QPointer<QWidget> dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog == before)
            return;
        watch.stop();
        act(dialog);
        // Closed after a failed check inside it, so that the test reports instead of waiting.
        if (QTest::currentTestFailed() && dialog != nullptr && dialog->isVisible())
            dialog->close();
        finished = !QTest::currentTestFailed();
    });
    watch.start();
    // The dialog may come up inside `show`, or later from an operation's worker.
    show();
    QVERIFY2(QTest::qWaitFor([&] { return !watch.isActive(); }, kOperationWaitMs), "no modal dialog came up");
    QVERIFY2(finished, "the dialog was not driven to its end");
}

void waitUntilIdle(const shell::MainWindow& window)
{
    QVERIFY2(QTest::qWaitFor([&] { return !window.operationRunning(); }, kOperationWaitMs),
             "the operation did not end");
}

QStringList tabChain(QWidget* first)
{
    QWidget* window = first->window();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return {QStringLiteral("(the window never became active)")};
    first->setFocus(Qt::TabFocusReason);
    QStringList names;
    // A bound, for a chain that never comes back to where it started.
    for (QWidget* focused = first; names.size() < 40; focused = QApplication::focusWidget()) {
        if (focused == nullptr)
            return names << QStringLiteral("(no focus)");
        if (focused == first && !names.isEmpty())
            return names;
        names << focused->objectName();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    return names;
}

}  // namespace logweave::testing
