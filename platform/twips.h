#pragma once
// Window layouts are drawn in twips, 1440 to a logical inch of the screen,
// so that every window keeps its proportions at any resolution.

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace logweave::platform {

int twips(int value);
QRect twipsRect(int left, int top, int width, int height);
QSize twipsSize(int width, int height);
void placeInTwips(QWidget* widget, int left, int top, int width, int height);

// The platform's ordinary dialog face at a point size.
QFont dialogFont(qreal pointSize, bool bold = false);

}  // namespace logweave::platform
