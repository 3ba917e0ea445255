#pragma once
// The pointer while the program works: busy from the start of an operation
// to its end, and as usual again while a dialog asks the user something.
// The arrow with a busy sign, not the hourglass alone: the window still
// answers, and its Cancel button can be clicked.

#include <QCursor>
#include <QGuiApplication>

namespace logweave::platform {

class BusyCursor final {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Inside an operation, around a dialog: the pointer the dialog's user expects.
class UsualCursor final {
public:
    UsualCursor() : busy_(QGuiApplication::overrideCursor() != nullptr)
    {
        if (busy_)
            QGuiApplication::restoreOverrideCursor();
    }
    ~UsualCursor()
    {
        if (busy_)
            QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    }
    UsualCursor(const UsualCursor&) = delete;
    UsualCursor& operator=(const UsualCursor&) = delete;

private:
    bool busy_;
};

}  // namespace logweave::platform
