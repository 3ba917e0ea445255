#include "gui_testing.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace logweave::testing {

void whenModal(const std::function<void()>& show, std::function<void(QWidget*)> act)
{
    bool finished = false;
    const QObject waiting;  // a timer still pending when no dialog came up goes with it
    QTimer::singleShot(0, &waiting, [act = std::move(act), &finished] {
        // The timer fires in the dialog's own event loop, so it is up by now;
        // the wait is for a dialog that shows a little after its caller runs.
        QVERIFY2(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }),
                 "no modal dialog came up");
        const QPointer<QWidget> dialog = QApplication::activeModalWidget();
        act(dialog);
        // Closed after a failed check inside it, so that the test reports instead of waiting.
        if (QTest::currentTestFailed() && dialog != nullptr && dialog->isVisible())
            dialog->close();
        finished = !QTest::currentTestFailed();
    });
    show();
    QVERIFY2(finished, "the dialog was not driven to its end");
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
