// Every caption of every window shows whole, in the fonts a desktop may have,
// at the scale factor the test is run with (QT_SCALE_FACTOR): the text fits
// its control, no control covers another and all stay inside their window;
// a caption beside its box stays on one line, clear of the box.

#include "gui_testing.h"

#include "dialogs/conflict_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/twips.h"
#include "dialogs/wsjtx_update_dialog.h"
#include "helpviewer/chm_help_viewer.h"
#include "recording_interface.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <climits>

namespace logweave::testing {
namespace {

const char* const kWindows[] = {"MainWindow", "OptionsDialog", "ConflictDialog", "WsjtxUpdateDialog"};
// The faces of Debian desktops, Liberation Sans with Arial's metrics, at the
// sizes desktops set: 9 pt with no desktop settings, 10 and 11 pt under the usual ones.
const char* const kFamilies[] = {"DejaVu Sans", "Liberation Sans"};
const int kPoints[] = {9, 10, 11};

QString nameOf(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->objectName();
}

// Qt's own pieces of a widget (a menu bar's extension button...) are not controls of the form.
bool isControl(const QWidget* widget)
{
    return !widget->isWindow() && !widget->objectName().startsWith(QLatin1String("qt_"));
}

QString sizeCut(QSize needed, QSize has)
{
    if (has.width() >= needed.width() && has.height() >= needed.height())
        return {};
    return QStringLiteral("needs %1x%2, has %3x%4").arg(needed.width()).arg(needed.height()).arg(has.width()).arg(has.height());
}

// What of a control's caption does not show; empty when all of it does.
QString captionCut(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget); label != nullptr && !label->text().isEmpty()) {
        // The room the label draws its text in, with the flags it draws it with.
        const int m = label->margin();
        const QRect room = label->contentsRect().adjusted(m, m, -m, -m);
        const int flags = static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return sizeCut(label->fontMetrics().boundingRect(room, flags, label->text()).size(), room.size());
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget); button != nullptr && !button->text().isEmpty())
        return sizeCut(button->sizeHint(), button->size());
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return sizeCut(group->minimumSizeHint(), group->size());  // its title
    if (const auto* bar = qobject_cast<const QMenuBar*>(widget)) {
        for (QAction* item : bar->actions()) {
            const QRect place = bar->actionGeometry(item);
            const QString drawn = QString(item->text()).remove(u'&');  // the mnemonic's mark is not drawn
            const QString name = item->menu() != nullptr ? item->menu()->objectName() : item->objectName();
            if (!drawn.isEmpty() && (!bar->rect().contains(place) || place.width() < bar->fontMetrics().horizontalAdvance(drawn)))
                return name + QStringLiteral(" hidden or cut");
        }
    }
    return {};
}

// Each control shows its caption whole, stays inside its parent and covers no
// sibling; then the same for its own controls. `exempt`: controls meant to show
// texts longer than their place.
QStringList faultsOf(const QWidget* parent, const QStringList& exempt = {})
{
    QList<const QWidget*> controls;
    for (const QWidget* widget : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (isControl(widget) && widget->isVisibleTo(parent))
            controls << widget;
    QStringList faults;
    for (qsizetype i = 0; i < controls.size(); ++i) {
        if (const QString cut = captionCut(controls[i]); !cut.isEmpty() && !exempt.contains(controls[i]->objectName()))
            faults << QStringLiteral("%1: %2").arg(nameOf(controls[i]), cut);
        if (!parent->contentsRect().contains(controls[i]->geometry()))  // a group's title is outside it
            faults << QStringLiteral("%1: outside %2").arg(nameOf(controls[i]), nameOf(parent));
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                faults << QStringLiteral("%1 over %2").arg(nameOf(controls[i]), nameOf(controls[j]));
        if (!qobject_cast<const QAbstractButton*>(controls[i]))  // a button's insides are Qt's
            faults << faultsOf(controls[i], exempt);
    }
    return faults;
}

// The captions that stand on one line at the left of their box, by window.
const QStringList kBesideTheirBox[] = {
    {},
    {"fieldOrderFileLabel", "upperCaseNamesLabel", "doubleSpacingLabel", "headerSourceLabel"},
    {},
    {"logToUpdateLabel", "logToMergeLabel"}};

// Whether a caption beside its box stays on one line and off the box; empty when it does.
QString besideCut(const QLabel* label)
{
    const int flags = static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const auto height = [&](const QString& text) {
        return label->fontMetrics().boundingRect(label->contentsRect(), flags, text).height();
    };
    if (height(label->text()) > height(QStringLiteral("X")))
        return QStringLiteral("on more than one line");
    const QRect place = label->geometry();
    int box = INT_MAX;  // the left of the nearest control to its right on its row
    for (const QWidget* other : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (other != label && other->x() > place.left() && other->geometry().top() <= place.bottom()
            && other->geometry().bottom() >= place.top())
            box = std::min(box, other->x());
    if (box == INT_MAX)
        return QStringLiteral("no box beside it");
    return box - place.right() - 1 < dialogs::twips(60) ? QStringLiteral("touches its box") : QString();
}

// A conflict with the longest texts its fixed captions get; the paths are long on purpose.
Conflict longConflict()
{
    Conflict conflict;
    conflict.field = "rst_sent";
    conflict.open = "59";
    conflict.added = "599";
    conflict.contact = {{{"qso_date", "20230101"}, {"time_on", "1000"}, {"band", "20m"}, {"call", "Q1AAA"},
                         {"mode", "FT8"}, {"operator", "Q1ZZZ"}, {"notes", "n"}, {"comment", "c"}}};
    conflict.openLogPath = "/home/someone/Documents/Radio/Logs/station-log-of-the-whole-year.adi";
    conflict.addedLogPath = "/home/someone/Documents/Radio/Logs/portable-log-of-the-summer.adi";
    return conflict;
}

}  // namespace

class CaptionFitTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { font_ = QApplication::font(); }
    void cleanup() { QApplication::setFont(font_); }

    void everyWindowShowsItsCaptionsWhole_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("points");
        for (int window = 0; window < 4; ++window)
            for (const char* family : kFamilies)
                for (int points : kPoints)
                    QTest::addRow("%s, %s %d pt", kWindows[window], family, points)
                        << window << QString::fromLatin1(family) << points;
    }

    void everyWindowShowsItsCaptionsWhole()
    {
        QFETCH(int, window);
        QFETCH(QString, family);
        QFETCH(int, points);
        QVERIFY2(QFontDatabase::families().contains(family),
                 qPrintable(QStringLiteral("the font %1 is not installed: scripts/install-deps installs it").arg(family)));
        QApplication::setFont(QFont(family, points));
        QVERIFY2(QFontInfo(QApplication::font()).family() == family, "the installed font is not the one drawn");

        Program p;
        p.start();
        RecordingInterface ui;
        Session session{ui, p.files, p.fakes.folder.path()};
        dialogs::OptionsDialog options(p.fakes.platform);
        dialogs::ConflictDialog conflict(longConflict());
        dialogs::WsjtxUpdateDialog update(session, p.fakes.platform, OutputOptions{}, [](const WsjtxUpdate&) {});
        QWidget* const shown = std::array<QWidget*, 4>{&p.window, &options, &conflict, &update}[window];
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        // The conflict's paths show their end, the file's name, where they are too long.
        QStringList faults = faultsOf(shown, shown == &conflict ? QStringList{"openPathLabel", "addedPathLabel"} : QStringList{});
        for (const QString& name : kBesideTheirBox[window])
            if (const QString cut = besideCut(child<QLabel>(shown, qPrintable(name))); !cut.isEmpty())
                faults << QStringLiteral("%1: %2").arg(name, cut);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    void helpWindowShowsItsTabsAndContentsWhole_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("points");
        for (const char* family : kFamilies)
            for (int points : kPoints)
                QTest::addRow("%s %d pt", family, points) << QString::fromLatin1(family) << points;
    }

    // Each tab's caption whole; the titles of the contents whole, and in view at the window's first size.
    void helpWindowShowsItsTabsAndContentsWhole()
    {
        QFETCH(QString, family);
        QFETCH(int, points);
        QApplication::setFont(QFont(family, points));
        helpviewer::ChmHelpViewer viewer;
        viewer.show({LOGWEAVE_HELP_FILE ">W1", platform::HelpCommand::DisplayToc, 0, std::nullopt});
        QVERIFY(QTest::qWaitForWindowExposed(viewer.window()));

        QStringList faults;
        const auto* tabs = child<QTabWidget>(viewer.window(), "Tabs");
        const QTabBar* bar = tabs->tabBar();
        if (!tabs->rect().contains(bar->geometry()))
            faults << QStringLiteral("the tabs: wider than their panel");
        for (int i = 0; i < bar->count(); ++i) {
            const QRect place = bar->tabRect(i);
            if (!bar->rect().contains(place) || place.width() < bar->fontMetrics().horizontalAdvance(bar->tabText(i)))
                faults << bar->tabText(i) + QStringLiteral(": cut");
        }
        auto* contents = child<QTreeWidget>(viewer.window(), "Contents");
        const int margins = 2 * (contents->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, contents) + 1);
        for (QTreeWidgetItemIterator it(contents); *it != nullptr; ++it) {
            const QRect place = contents->visualItemRect(*it);
            if (place.width() < contents->fontMetrics().horizontalAdvance((*it)->text(0)) + margins
                || place.right() >= contents->viewport()->width())
                faults << (*it)->text(0) + QStringLiteral(": cut");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // The rule every window follows, on a form of its own.
    void aGrownCaptionMovesWhatFollowsAndKeepsRowsAndColumns()
    {
        using dialogs::twips;
        QWidget window;
        const QString longText = QStringLiteral("a caption far too long for the place it is given");
        auto* caption = new QLabel(longText, &window);
        auto* beside = new QLineEdit(&window);
        auto* under = new QPushButton(QStringLiteral("b"), &window);
        auto* besideUnder = new QLineEdit(&window);
        auto* wrapped = new QLabel(longText + ' ' + longText, &window);
        wrapped->setWordWrap(true);
        auto* path = new QLabel(longText, &window);
        dialogs::TwipsLayout form(6000, 3000);
        form.place(caption, 120, 120, 600, 300);
        form.place(beside, 840, 120, 2000, 300);
        form.place(under, 120, 600, 600, 300);
        form.place(besideUnder, 840, 600, 2000, 300);
        form.place(wrapped, 120, 1080, 1500, 300);
        form.place(path, 120, 1365, 1500, 300, dialogs::TwipsLayout::Fit::AsPlaced);  // 15 twips into `wrapped`
        form.apply(&window);

        QVERIFY(caption->width() >= caption->sizeHint().width());
        const int moved = beside->x() - twips(840);
        QVERIFY(moved > 0);
        QCOMPARE(beside->x() - (caption->x() + caption->width()), twips(840) - twips(720));  // the gap is kept
        QCOMPARE(besideUnder->x(), beside->x());  // the column stays lined up
        QCOMPARE(under->geometry().right(), caption->geometry().right());  // so do their edges
        QCOMPARE(wrapped->width(), twips(1620) - twips(120) + moved);  // an edge past the caption's moved
        QVERIFY(wrapped->height() >= wrapped->heightForWidth(wrapped->width()));
        QVERIFY(wrapped->height() > twips(300));
        QCOMPARE(path->y(), wrapped->geometry().bottom() + 1);  // touching it, as it follows it down
        QCOMPARE(path->size(), QSize(twips(1620) - twips(120) + moved, twips(1665) - twips(1365)));
        QCOMPARE(window.size(), QSize(twips(6000) + moved, twips(3000) + path->y() - twips(1365)));
    }

private:
    QFont font_;
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::CaptionFitTest)
#include "caption_fit_test.moc"
