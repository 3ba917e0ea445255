// Runs one window's tests, named on the command line, or all of them.

#include <QApplication>
#include <QTest>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace logweave::testing {
std::unique_ptr<QObject> makeMainWindowTest();
std::unique_ptr<QObject> makeOptionsDialogTest();
std::unique_ptr<QObject> makeConflictDialogTest();
std::unique_ptr<QObject> makeWsjtxUpdateDialogTest();
std::unique_ptr<QObject> makeHelpTest();
std::unique_ptr<QObject> makeProgramFoldersTest();
std::unique_ptr<QObject> makeHelpSearchTest();
std::unique_ptr<QObject> makeCaptionFitTest();
}  // namespace logweave::testing

int main(int argc, char** argv)
{
    using namespace logweave::testing;
    const std::map<std::string, std::function<std::unique_ptr<QObject>()>> suites{
        {"MainWindowTest", makeMainWindowTest},
        {"OptionsDialogTest", makeOptionsDialogTest},
        {"ConflictDialogTest", makeConflictDialogTest},
        {"WsjtxUpdateDialogTest", makeWsjtxUpdateDialogTest},
        {"HelpTest", makeHelpTest},
        {"ProgramFoldersTest", makeProgramFoldersTest},
        {"HelpSearchTest", makeHelpSearchTest},
        {"CaptionFitTest", makeCaptionFitTest},
    };
    QApplication application(argc, argv);
    std::vector<char*> arguments(argv, argv + argc);
    std::string only;
    if (arguments.size() > 1 && suites.count(arguments[1]) != 0) {
        only = arguments[1];
        arguments.erase(arguments.begin() + 1);
    }
    int failures = 0;
    for (const auto& [name, make] : suites) {
        if (!only.empty() && name != only)
            continue;
        const auto suite = make();
        failures += QTest::qExec(suite.get(), static_cast<int>(arguments.size()), arguments.data());
    }
    return failures == 0 ? 0 : 1;
}
