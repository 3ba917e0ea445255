// Every caption of every window shows whole, in the fonts a desktop may have,
// at the scale factor the test is run with (QT_SCALE_FACTOR): the text fits
// its control, no control covers another and all stay inside their window.

#include "gui_testing.h"

#include "dialogs/conflict_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/wsjtx_update_dialog.h"
#include "logweave/std_file_system.h"
#include "recording_interface.h"
#include "platform/twips.h"
#include "shell/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace logweave::testing {
namespace {

QString nameOf(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// Qt's own parts of a widget (a menu bar's extension button...) are not controls of the form.
bool isControl(const QWidget* widget)
{
    return !widget->isWindow() && !widget->objectName().startsWith(QLatin1String("qt_"));
}

// Where a label draws its text, and the flags it draws it with.
QString labelCut(const QLabel* label)
{
    const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                      -label->margin());
    int flags = static_cast<int>(label->alignment());
    if (label->wordWrap())
        flags |= Qt::TextWordWrap;
    const QRect drawn = label->fontMetrics().boundingRect(room, flags, label->text());
    if (room.contains(drawn))
        return {};
    return QStringLiteral("text %1x%2 in %3x%4")
        .arg(drawn.width())
        .arg(drawn.height())
        .arg(room.width())
        .arg(room.height());
}

QString sizeCut(const QWidget* widget, QSize needed)
{
    if (widget->width() >= needed.width() && widget->height() >= needed.height())
        return {};
    return QStringLiteral("needs %1x%2, has %3x%4")
        .arg(needed.width())
        .arg(needed.height())
        .arg(widget->width())
        .arg(widget->height());
}

QString captionCut(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text().isEmpty() ? QString() : labelCut(label);
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text().isEmpty() ? QString() : sizeCut(button, button->sizeHint());
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return sizeCut(group, group->minimumSizeHint());  // its title
    return {};
}

QStringList menuCuts(const QMenuBar* bar)
{
    QStringList cuts;
    for (QAction* action : bar->actions()) {
        const QRect place = bar->actionGeometry(action);
        const int textWidth = bar->fontMetrics().horizontalAdvance(action->text());
        if (!action->text().isEmpty() && (!bar->rect().contains(place) || place.width() < textWidth))
            cuts << QStringLiteral("%1: menu item hidden or cut").arg(action->objectName());
    }
    return cuts;
}

// Siblings one by one: each inside its parent, none over another; then their own children.
QStringList placementFaults(const QWidget* parent)
{
    QList<const QWidget*> controls;
    for (const QWidget* widget : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (isControl(widget) && widget->isVisibleTo(parent))
            controls << widget;
    QStringList faults;
    for (qsizetype i = 0; i < controls.size(); ++i) {
        if (!parent->contentsRect().contains(controls[i]->geometry()))  // a group's title is outside it
            faults << QStringLiteral("%1: outside %2").arg(nameOf(controls[i]), nameOf(parent));
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                faults << QStringLiteral("%1 over %2").arg(nameOf(controls[i]), nameOf(controls[j]));
        if (!qobject_cast<const QAbstractButton*>(controls[i]))  // a button's insides are Qt's
            faults << placementFaults(controls[i]);
    }
    return faults;
}

// `exempt`: controls meant to show texts longer than their place.
QStringList faultsOf(QWidget* window, const QStringList& exempt = {})
{
    QStringList faults = placementFaults(window);
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!isControl(widget) || !widget->isVisibleTo(window) || exempt.contains(widget->objectName()))
            continue;
        if (const QString cut = captionCut(widget); !cut.isEmpty())
            faults << QStringLiteral("%1: %2").arg(nameOf(widget), cut);
        if (const auto* bar = qobject_cast<const QMenuBar*>(widget))
            faults << menuCuts(bar);
    }
    return faults;
}

void showAndCheck(QWidget* window, const QStringList& exempt = {})
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QStringList faults = faultsOf(window, exempt);
    QVERIFY2(faults.isEmpty(), qPrintable(nameOf(window) + ": " + faults.join(QStringLiteral("; "))));
}

// A conflict with the longest texts its fixed captions get; the paths are long on purpose.
struct LongConflict {
    Conflict conflict;
    LongConflict()
    {
        conflict.field = "rst_sent";
        conflict.open = "59";
        conflict.added = "599";
        conflict.contact = {{{"qso_date", "20230101"}, {"time_on", "1000"}, {"band", "20m"}, {"call", "Q1AAA"},
                             {"mode", "FT8"}, {"operator", "Q1ZZZ"}, {"notes", "n"}, {"comment", "c"}}};
        conflict.openLogPath = "/home/someone/Documents/Radio/Logs/station-log-of-the-whole-year.adi";
        conflict.addedLogPath = "/home/someone/Documents/Radio/Logs/portable-log-of-the-summer.adi";
    }
};

}  // namespace

class CaptionFitTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { font_ = QApplication::font(); }
    void cleanup() { QApplication::setFont(font_); }

    void mainWindow_data() { fonts(); }
    void mainWindow()
    {
        if (!useFont())
            return;
        FakePlatform fakes;
        LogStore store;
        StdFileSystem files;
        shell::MainWindow window(store, files, fakes.platform);
        window.Form_Load();
        showAndCheck(&window);
    }

    void optionsDialog_data() { fonts(); }
    void optionsDialog()
    {
        if (!useFont())
            return;
        FakePlatform fakes;
        dialogs::OptionsDialog dialog(fakes.platform);
        showAndCheck(&dialog);
    }

    void conflictDialog_data() { fonts(); }
    void conflictDialog()
    {
        if (!useFont())
            return;
        const LongConflict c;
        dialogs::ConflictDialog dialog(c.conflict);
        // The paths show their end where they are too long: the file's name.
        showAndCheck(&dialog, {QStringLiteral("Label2"), QStringLiteral("Label3")});
    }

    void wsjtxUpdateDialog_data() { fonts(); }
    void wsjtxUpdateDialog()
    {
        if (!useFont())
            return;
        FakePlatform fakes;
        LogStore store;
        RecordingInterface ui;
        StdFileSystem files;
        Session session{store, ui, files};
        dialogs::WsjtxUpdateDialog dialog(session, fakes.platform);
        showAndCheck(&dialog);
    }

    // The rule every window follows, on a form of its own.
    void aGrownCaptionMovesWhatFollowsAndKeepsRowsAndColumns()
    {
        using platform::twips;
        QWidget window;
        const QString longText = QStringLiteral("a caption far too long for the place it is given");
        auto* caption = new QLabel(longText, &window);
        auto* beside = new QLineEdit(&window);
        auto* under = new QPushButton(QStringLiteral("b"), &window);
        auto* besideUnder = new QLineEdit(&window);
        auto* wrapped = new QLabel(longText + ' ' + longText, &window);
        wrapped->setWordWrap(true);
        auto* path = new QLabel(longText, &window);
        platform::TwipsLayout form(6000, 3000);
        form.place(caption, 120, 120, 600, 300);
        form.place(beside, 840, 120, 2000, 300);
        form.place(under, 120, 600, 600, 300);
        form.place(besideUnder, 840, 600, 2000, 300);
        form.place(wrapped, 120, 1080, 1500, 300);
        form.place(path, 120, 1365, 1500, 300, platform::TwipsLayout::Fit::AsPlaced);  // 15 twips into `wrapped`
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
    // The faces of Debian desktops and one with Arial's metrics, at the sizes
    // desktops set: 9 pt with no desktop settings, 10 and 11 pt under the usual ones.
    static void fonts()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("points");
        for (const char* family : {"DejaVu Sans", "Liberation Sans", "Arial"})
            for (int points : {9, 10, 11})
                QTest::addRow("%s %d pt", family, points) << QString::fromLatin1(family) << points;
    }

    // False when the font is absent (the row is skipped, and says why) or not the one drawn (it fails).
    [[nodiscard]] static bool useFont()
    {
        QFETCH(QString, family);
        QFETCH(int, points);
        if (!QFontDatabase::families().contains(family)) {
            QTest::qSkip(qPrintable(QStringLiteral("the font %1 is not installed").arg(family)), __FILE__, __LINE__);
            return false;
        }
        QApplication::setFont(QFont(family, points));
        if (QFontInfo(QApplication::font()).family() != family) {
            QTest::qFail("the installed font is not the one drawn", __FILE__, __LINE__);
            return false;
        }
        return true;
    }

    QFont font_;
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::CaptionFitTest)
#include "caption_fit_test.moc"
