#include "platform/program_exit.h"

#include <QApplication>
#include <QWidget>

#include <cstdlib>

namespace logweave::platform {

void QtProgramExit::endNow()
{
    // No further code of the program runs: not the rest of the command that
    // asked, nor any handler of the windows being closed.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        window->hide();
    std::_Exit(EXIT_SUCCESS);
}

}  // namespace logweave::platform
