#include "gui_testing.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

namespace logweave::testing {

QString FakeFileDialog::getOpenFileName(QWidget*, const platform::FileDialogRequest& request)
{
    requests.push_back(request);
    if (onShow)
        onShow();
    if (answers.empty())
        return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

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

QString paneText(std::string_view utf8)
{
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString Program::pane()
{
    return child<QPlainTextEdit>(&window, "Text1")->toPlainText();
}

void Program::open(const QString& path, const std::function<void(QWidget*)>& choose)
{
    fakes.fileDialog.answers = {path};
    whenModal([this] { menu("Mnu_Ouvrir")->trigger(); },
              [choose](QWidget* options) {
                  if (choose)
                      choose(options);
                  click(options, "Command2");
              });
}

}  // namespace logweave::testing
