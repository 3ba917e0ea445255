#include "platform/twips.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace logweave::platform {

int twips(int value)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
    return static_cast<int>(std::lround(value * dpi / 1440.0));
}

QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

QSize twipsSize(int width, int height)
{
    return {twips(width), twips(height)};
}

void placeInTwips(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
}

QFont dialogFont(qreal pointSize, bool bold)
{
    QFont font = QApplication::font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace logweave::platform
