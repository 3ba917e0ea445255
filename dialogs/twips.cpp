#include "dialogs/twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace logweave::dialogs {

int twips(int value)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
    return static_cast<int>(std::lround(value * dpi / 1440.0));
}

QRect twipsRect(int left, int top, int width, int height)
{
    const int x = twips(left);
    const int y = twips(top);
    return {x, y, twips(left + width) - x, twips(top + height) - y};
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

struct TwipsLayout::Item {
    QWidget* control;
    QRect place;  // twips
    Fit fit;
    std::unique_ptr<TwipsLayout> group;
};

namespace {

// A control drawn this far or less into the next one is taken to end where that one starts.
constexpr int kSlackTwips = 60;

void untangle(std::vector<QRect>& places)
{
    for (QRect& a : places) {
        for (const QRect& b : places) {
            const QRect common = a.intersected(b);
            if (&a == &b || common.isEmpty())
                continue;
            if (common.width() <= common.height() && common.width() <= kSlackTwips && a.left() < b.left())
                a.setRight(b.left() - 1);
            else if (common.height() < common.width() && common.height() <= kSlackTwips && a.top() < b.top())
                a.setBottom(b.top() - 1);
        }
    }
}

// A control along one axis, in pixels: where it starts and ends, and the length it needs.
struct Span {
    int start;
    int end;
    int need;
};

// The new place of every edge, in order: each keeps its distance from the
// edge before it, or further where a control ending there needs more room.
std::map<int, int> moveEdges(const std::vector<Span>& spans, int length)
{
    std::map<int, int> edges{{0, 0}, {length, length}};
    for (const Span& span : spans) {
        edges[span.start] = span.start;
        edges[span.end] = span.end;
    }
    int before = 0;
    int movedBefore = 0;
    for (auto& [edge, moved] : edges) {
        moved = movedBefore + (edge - before);
        for (const Span& span : spans)
            if (span.end == edge)
                moved = std::max(moved, edges.at(span.start) + span.need);
        before = edge;
        movedBefore = moved;
    }
    return edges;
}

// Moves the places along one axis as `need` asks; returns the container's new length.
// Across, a control spans the room between its moved edges: a box widens with its row.
// Down, it keeps the height it needs, in the middle of that room: a box never grows
// taller for the caption beside it, and stays level with it.
template <typename Need>
int spread(std::vector<QRect>& places, bool across, int length, std::pair<int, int> frame, Need need)
{
    const auto start = [across](const QRect& r) { return across ? r.left() : r.top(); };
    const auto extent = [across](const QRect& r) { return across ? r.width() : r.height(); };
    std::vector<Span> spans;
    int first = length;
    int last = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const QRect& place = places[i];
        spans.push_back({start(place), start(place) + extent(place), std::max(extent(place), need(i, place))});
        first = std::min(first, spans.back().start);
        last = std::max(last, spans.back().end);
    }
    std::vector<Span> withFrame = spans;  // the container's own frame (a group's title) comes before and after
    withFrame.push_back({0, first, frame.first});
    withFrame.push_back({last, std::max(last, length), frame.second});
    const std::map<int, int> edges = moveEdges(withFrame, length);
    for (std::size_t i = 0; i < places.size(); ++i) {
        const int from = edges.at(spans[i].start);
        const int room = edges.at(spans[i].end) - from;
        QRect& place = places[i];
        place = across ? QRect(from, place.top(), room, place.height())
                       : QRect(place.left(), from + (room - spans[i].need) / 2, place.width(), spans[i].need);
    }
    return edges.rbegin()->second;  // the edges keep their order: the last is the farthest
}

const QLabel* wrappingLabel(const QWidget* control)
{
    const auto* label = qobject_cast<const QLabel*>(control);
    return label != nullptr && label->wordWrap() ? label : nullptr;
}

// What a control's caption needs, at its font and the style's margins; 0 where it has no say.
QSize captionNeed(const QWidget* control)
{
    if (qobject_cast<const QLabel*>(control) != nullptr || qobject_cast<const QAbstractButton*>(control) != nullptr)
        return control->sizeHint();
    if (qobject_cast<const QLineEdit*>(control) != nullptr)
        return {0, control->sizeHint().height()};
    return {0, 0};
}

}  // namespace

TwipsLayout::TwipsLayout(int width, int height) : size_(width, height) {}

TwipsLayout::~TwipsLayout() = default;

void TwipsLayout::place(QWidget* control, int left, int top, int width, int height, Fit fit)
{
    items_.push_back({control, QRect(left, top, width, height), fit, nullptr});
    control->setGeometry(twipsRect(left, top, width, height));
}

TwipsLayout& TwipsLayout::placeGroup(QWidget* group, int left, int top, int width, int height)
{
    place(group, left, top, width, height);
    items_.back().group = std::make_unique<TwipsLayout>(width, height);
    return *items_.back().group;
}

QSize TwipsLayout::need(const Item& item) const
{
    if (item.fit == Fit::AsPlaced)
        return {0, 0};
    if (item.group)
        return item.group->solve(item.control, {}).size;
    return captionNeed(item.control);
}

TwipsLayout::Solution TwipsLayout::solve(QWidget* container, QSize atLeast) const
{
    std::vector<QRect> places;
    std::vector<QSize> needs;
    for (const Item& item : items_) {
        places.push_back(item.place);
        needs.push_back(need(item));
    }
    untangle(places);
    for (QRect& place : places)
        place = twipsRect(place.left(), place.top(), place.width(), place.height());
    const auto wraps = [this](std::size_t i) {
        return items_[i].fit == Fit::Caption ? wrappingLabel(items_[i].control) : nullptr;
    };
    // Widths first: a text that wraps takes the width it is given, then the height that width asks.
    const QMargins frame = container->contentsMargins();
    const int width = spread(places, true, twips(size_.width()), {frame.left(), frame.right()},
                             [&](std::size_t i, const QRect&) { return wraps(i) != nullptr ? 0 : needs[i].width(); });
    const int height = spread(places, false, twips(size_.height()), {frame.top(), frame.bottom()},
                              [&](std::size_t i, const QRect& place) {
                                  return wraps(i) != nullptr ? wraps(i)->heightForWidth(place.width()) : needs[i].height();
                              });
    atLeast = atLeast.expandedTo(container->minimumSizeHint());
    return {places, QSize(width, height).expandedTo(atLeast)};
}

void TwipsLayout::apply(QWidget* container)
{
    apply(container, {});
}

void TwipsLayout::apply(QWidget* container, QSize atLeast)
{
    const Solution solution = solve(container, atLeast);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (item.group)
            item.group->apply(item.control, solution.places[i].size());
        item.control->setGeometry(solution.places[i]);
    }
    container->setFixedSize(solution.size);
}

}  // namespace logweave::dialogs
