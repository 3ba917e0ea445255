#pragma once
// Window layouts are drawn in twips, 1440 to a logical inch of the screen,
// so that every window keeps its proportions at any resolution.

#include <QFont>
#include <QRect>
#include <QSize>

#include <memory>
#include <vector>

class QWidget;

namespace logweave::dialogs {

int twips(int value);
// Each edge is rounded on its own: controls that touch in twips touch on screen.
QRect twipsRect(int left, int top, int width, int height);
QSize twipsSize(int width, int height);
void placeInTwips(QWidget* widget, int left, int top, int width, int height);

// The platform's ordinary dialog face at a point size.
QFont dialogFont(qreal pointSize, bool bold = false);

// The controls of one window, or of one group in it, placed by their twips.
// Faces differ from one desktop to another: where a caption needs more room
// than its place at the fonts in use, its control grows (wider, or taller
// when its text wraps) and every edge after it moves on by as much, so that
// what stands to its right or below follows, rows and columns stay lined up,
// and the window grows with them. No font is ever made smaller.
class TwipsLayout final {
public:
    enum class Fit {
        Caption,  // grows to show its whole caption
        AsPlaced  // keeps its place: a text meant to be longer than it (a path)
    };

    TwipsLayout(int width, int height);  // the client area
    ~TwipsLayout();
    TwipsLayout(const TwipsLayout&) = delete;
    TwipsLayout& operator=(const TwipsLayout&) = delete;

    void place(QWidget* control, int left, int top, int width, int height, Fit fit = Fit::Caption);
    // A group box: its own controls are placed in the layout returned, in the group's twips.
    TwipsLayout& placeGroup(QWidget* group, int left, int top, int width, int height);

    // Once every font is set: places the controls and fixes the container's size.
    void apply(QWidget* container);

private:
    struct Item;
    struct Solution {
        std::vector<QRect> places;
        QSize size;
    };

    QSize need(const Item& item) const;
    Solution solve(QWidget* container, QSize atLeast) const;
    void apply(QWidget* container, QSize atLeast);

    QSize size_;
    std::vector<Item> items_;
};

}  // namespace logweave::dialogs
