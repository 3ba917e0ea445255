#include "gui_testing.h"

#include <QApplication>
#include <QDir>
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

namespace {

// After a failed check inside a dialog, every dialog still up is closed, so
// that the test ends and reports instead of waiting for ever.
void closeEveryModal(int triesLeft)
{
    if (QWidget* dialog = QApplication::activeModalWidget())
        dialog->close();
    if (triesLeft > 0)
        QTimer::singleShot(10, [triesLeft] { closeEveryModal(triesLeft - 1); });
}

void poll(std::function<void(QWidget*)> act, bool* finished, int triesLeft)
{
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) {
        if (triesLeft > 0)
            QTimer::singleShot(10, [act = std::move(act), finished, triesLeft] { poll(act, finished, triesLeft - 1); });
        return;
    }
    act(dialog);
    if (QTest::currentTestFailed())
        closeEveryModal(500);
    else if (finished != nullptr)
        *finished = true;
}

}  // namespace

void whenModal(std::function<void(QWidget*)> act, bool* finished)
{
    QTimer::singleShot(0, [act = std::move(act), finished] { poll(act, finished, 500); });
}

}  // namespace logweave::testing
