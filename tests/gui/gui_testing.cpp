#include "gui_testing.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTest>
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

QString FakeInputBox::getText(QWidget*, const QString& p, const QString& t, const QString& d)
{
    prompt = p;
    title = t;
    defaultText = d;
    return useDefault ? d : answer;
}

FakeProgramFolders::FakeProgramFolders(QString folder) : folder_(std::move(folder)), before_(QDir::currentPath()) {}

FakeProgramFolders::~FakeProgramFolders()
{
    QDir::setCurrent(before_);
}

QString FakeProgramFolders::currentFolder() const
{
    return QDir::currentPath();
}

bool FakeProgramFolders::setCurrentFolder(const QString& folder)
{
    return QDir::setCurrent(folder);
}

void whenModal(std::function<void(QWidget*)> act, bool* finished, const QObject* context)
{
    QTimer::singleShot(0, context != nullptr ? context : qApp, [act = std::move(act), finished] {
        // The timer fires in the dialog's own event loop, so it is up by now;
        // the wait is for a dialog that shows a little after its caller runs.
        QVERIFY2(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }),
                 "no modal dialog came up");
        const QPointer<QWidget> dialog = QApplication::activeModalWidget();
        act(dialog);
        if (QTest::currentTestFailed()) {
            // Closed after a failed check inside it, so that the test reports instead of waiting.
            if (dialog != nullptr && dialog->isVisible())
                dialog->close();
            return;
        }
        if (finished != nullptr)
            *finished = true;
    });
}

QString paneText(std::string_view utf8)
{
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace logweave::testing
