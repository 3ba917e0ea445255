// The built-in help viewer, over the help file the build compiled and a small sample of the tests' own.

#include "gui_testing.h"

#include "dialogs/c_help.h"
#include "platform/chm_help_viewer.h"
#include "platform/help_window.h"

#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

#include <string>

namespace logweave::testing {
namespace {

const std::string kHelpFile = LOGWEAVE_HELP_FILE;
const std::string kSampleFile = LOGWEAVE_SAMPLE_HELP_FILE;
const QString kFirstTitle = QStringLiteral("Logweave : présentation [Overview]");

platform::HelpRequest tocRequest(const std::string& file)
{
    return {file, platform::HelpCommand::DisplayToc, 0, std::nullopt};
}

QUrl page(const char* path)
{
    return QUrl(QStringLiteral("chm:/") + QString::fromLatin1(path));
}

// Clicks the link whose address is `href` in the page, where it is drawn.
bool clickLink(QTextBrowser* page, const QString& href)
{
    for (QTextBlock block = page->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(page->document());
            cursor.setPosition(fragment.position() + 1);
            page->setTextCursor(cursor);
            page->ensureCursorVisible();
            QTest::mouseClick(page->viewport(), Qt::LeftButton, {}, page->cursorRect(cursor).center() - QPoint(2, 0));
            return true;
        }
    }
    return false;
}

// The viewer, shown at the built help's contents unless told otherwise.
struct Viewer {
    platform::ChmHelpViewer viewer;

    explicit Viewer(bool showBuiltHelp = true)
    {
        if (showBuiltHelp)
            viewer.show(tocRequest(kHelpFile + ">W1"));
    }
    QWidget* window() const { return viewer.window(); }
    QTextBrowser* page() const { return child<QTextBrowser>(viewer.window(), "Page"); }
    QTreeWidget* tree(const char* name) const { return child<QTreeWidget>(viewer.window(), name); }
    QWidget* currentTab() const { return child<QTabWidget>(viewer.window(), "Tabs")->currentWidget(); }
    QAction* button(const char* name) const { return child<QAction>(viewer.window(), name); }

    // Clicks the tool bar button of `name`.
    void click(const char* name) const
    {
        QWidget* shown = child<QToolBar>(viewer.window(), "Buttons")->widgetForAction(button(name));
        QVERIFY(shown != nullptr);
        QTest::mouseClick(shown, Qt::LeftButton);
    }
};

}  // namespace

class HelpTest final : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
    }

    void opensTheBuiltHelpAtItsFirstPageInAWindowOfItsOwn()
    {
        Viewer v;
        QVERIFY(v.window()->isVisible() && v.window()->parentWidget() == nullptr && !v.window()->isModal());
        QCOMPARE(v.window()->windowTitle(), QStringLiteral("Aide de Logweave [Logweave help]"));  // W1's caption
        QCOMPARE(v.tree("Contents")->topLevelItem(0)->text(0), kFirstTitle);
        QCOMPARE(v.tree("Index")->findItems(QStringLiteral("Logweave.cfg"), Qt::MatchExactly).size(), 1);
        QVERIFY(v.currentTab() == v.tree("Contents"));
        QCOMPARE(v.page()->source(), page("index.html"));
        QCOMPARE(v.page()->documentTitle(), kFirstTitle);
        // Pictures come from inside the file too.
        const QVariant picture = v.page()->document()->resource(QTextDocument::ImageResource,
                                                                QUrl(QStringLiteral("images/logweave.png")));
        const QImage image = picture.typeId() == QMetaType::QByteArray ? QImage::fromData(picture.toByteArray())
                                                                        : picture.value<QImage>();
        QCOMPARE(image.size(), QSize(64, 64));

        // W1 records no buttons: all four, and Print hands the page shown to the printer.
        for (const char* name : {"Back", "Forward", "Home", "Print"})
            QVERIFY2(v.button(name)->isVisible(), name);
        auto* window = qobject_cast<platform::HelpWindow*>(v.window());
        QStringList printed;
        window->setPagePrinter([&](QWidget* parent, const QTextDocument& document) {
            printed << document.toPlainText();
            QVERIFY(parent == window);
        });
        v.page()->setSource(page("cli.html"));
        v.click("Print");
        QCOMPARE(printed, QStringList{v.page()->toPlainText()});
        QVERIFY(printed.front().contains(QStringLiteral("logweave-cli")));
    }

    void linksContentsBackForwardAndHomeFollowThePagesShown()
    {
        Viewer v;
        QVERIFY(QTest::qWaitForWindowExposed(v.window()));
        QTextBrowser* shown = v.page();
        QTreeWidget* contents = v.tree("Contents");
        QVERIFY(!v.button("Back")->isEnabled() && !v.button("Forward")->isEnabled());

        QVERIFY(clickLink(shown, QStringLiteral("ouvrir.html")));
        QTRY_COMPARE(shown->source(), page("ouvrir.html"));
        QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Ouvrir [Open]"));
        v.click("Back");
        QTRY_COMPARE(shown->source(), page("index.html"));
        QVERIFY(!v.button("Back")->isEnabled() && v.button("Forward")->isEnabled());
        v.click("Forward");
        QTRY_COMPARE(shown->source(), page("ouvrir.html"));
        QVERIFY(!v.button("Forward")->isEnabled());

        const auto found = contents->findItems(QStringLiteral("Filtrer [Filter]"), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        contents->scrollToItem(found.front());
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(found.front()).center());
        QTRY_COMPARE(shown->documentTitle(), QStringLiteral("Filtrer [Filter]"));
        QVERIFY(clickLink(shown, QStringLiteral("options.html#entete")));  // a place in another page
        QTRY_COMPARE(shown->source(), page("options.html#entete"));
        QCOMPARE(shown->documentTitle(), QStringLiteral("Les options [The options]"));

        v.click("Home");
        QTRY_COMPARE(shown->source(), page("index.html"));
        QVERIFY(v.button("Back")->isEnabled());
    }

    void laterRequestsReuseTheWindowEachOnItsTab()
    {
        Viewer v;
        QWidget* first = v.window();
        v.page()->setSource(page("wsjtx.html"));
        v.window()->close();
        dialogs::CHelp help(v.viewer);
        help.ShowIndex(kHelpFile, std::string("W1"));
        QVERIFY(v.window() == first);
        QVERIFY(v.window()->isVisible());
        QVERIFY(v.currentTab() == v.tree("Index"));
        QCOMPARE(v.page()->documentTitle(), kFirstTitle);

        help.ShowSearch(kHelpFile, std::string("W1"));
        QVERIFY(v.currentTab() == child<QWidget>(v.window(), "Search"));
        // The words come selected in the box, not searched for.
        auto* text = child<QLineEdit>(v.window(), "SearchText");
        QCOMPARE(text->selectedText(), QStringLiteral("TEST"));
        QCOMPARE(child<QListWidget>(v.window(), "SearchResults")->count(), 0);
        help.Show(kHelpFile, std::string("W1"), 4711);
        QVERIFY(v.currentTab() == v.tree("Contents"));
    }

    void aMissingOrUnreadableFileIsNamedAndChangesNothing()
    {
        TemporaryFolder folder;
        const std::string missing = (folder / "none.chm").string();
        const std::string unreadable = folder.write("bad.chm", "ITSF but not really").string();
        Viewer v(false);
        QStringList messages;
        const auto show = [&](const std::string& bad) {
            whenModal([&] { v.viewer.show(tocRequest(bad + ">W1")); },
                      [&](QWidget* box) {
                          messages << qobject_cast<QMessageBox*>(box)->text();
                          box->close();
                      });
        };
        show(missing);
        QVERIFY(v.window() == nullptr);
        v.viewer.show(tocRequest(kHelpFile + ">W1"));
        v.page()->setSource(page("cli.html"));
        show(unreadable);
        QCOMPARE(v.window()->windowTitle(), QStringLiteral("Aide de Logweave [Logweave help]"));
        QCOMPARE(v.page()->source(), page("cli.html"));
        const QString text = QStringLiteral("Fichier d'aide introuvable ou illisible [Help file missing or unreadable] : %1");
        QCOMPARE(messages, (QStringList{text.arg(QString::fromStdString(missing)), text.arg(QString::fromStdString(unreadable))}));
    }

    void searchListsThePagesAndMarksTheWordsOnTheOneChosen()
    {
        Viewer v;
        QVERIFY(QTest::qWaitForWindowExposed(v.window()));
        child<QTabWidget>(v.window(), "Tabs")->setCurrentWidget(child<QWidget>(v.window(), "Search"));
        auto* text = child<QLineEdit>(v.window(), "SearchText");
        auto* results = child<QListWidget>(v.window(), "SearchResults");
        auto* status = child<QLabel>(v.window(), "SearchStatus");
        QTest::keyClicks(text, QStringLiteral("FREQUENCE"));
        QTest::mouseClick(child<QPushButton>(v.window(), "SearchButton"), Qt::LeftButton);
        QCOMPARE(results->count(), 1);
        QCOMPARE(results->item(0)->text(), QStringLiteral("Les fichiers [The files]"));
        QCOMPARE(status->text(), QStringLiteral("1 page trouvée [1 page found]"));

        // As a user's hand does it: the view sees the press before the double-click.
        const QPoint at = results->visualItemRect(results->item(0)).center();
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(results->viewport(), Qt::LeftButton, {}, at);
        QTextBrowser* shown = v.page();
        QTRY_COMPARE(shown->source(), page("fichiers.html"));
        const auto marks = shown->extraSelections();
        QVERIFY(!marks.isEmpty());
        for (const auto& mark : marks)
            QCOMPARE(mark.cursor.selectedText().toLower(), QStringLiteral("fréquence"));
        QCOMPARE(shown->textCursor().position(), marks.front().cursor.selectionStart());
        QVERIFY(shown->cursorRect().intersects(shown->viewport()->rect()));

        // Marks go with their page; a word on no page together with another finds nothing.
        v.click("Back");
        QTRY_COMPARE(shown->source(), page("index.html"));
        QVERIFY(shown->extraSelections().isEmpty());
        text->clear();
        QTest::keyClicks(text, QStringLiteral("frequence janvier"));
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(results->count(), 0);
        QCOMPARE(status->text(), QStringLiteral("Aucune page trouvée [No page found]"));
    }

    // The sample's W1 has Back and Home only, and a home page that is not its first.
    void theSamplesWindowTypeGivesItsButtonsHomePageAndContextPages()
    {
        Viewer v(false);
        dialogs::CHelp help(v.viewer);
        help.Show(kSampleFile, std::string("W1"), 42);
        QCOMPARE(v.window()->windowTitle(), QStringLiteral("Exemple [Sample]"));
        QCOMPARE(v.page()->source(), page("seconde.html"));
        QVERIFY(v.page()->toPlainText().contains(QStringLiteral("EMETTEUR")));
        for (const char* name : {"Back", "Home"})
            QVERIFY2(v.button(name)->isVisible(), name);
        for (const char* name : {"Forward", "Print"})
            QVERIFY2(!v.button(name)->isVisible(), name);
        v.click("Home");
        QTRY_COMPARE(v.page()->source(), page("accueil.html"));
        help.Show(kSampleFile, std::string("W1"), 7);  // mapped to no page: the first
        QCOMPARE(v.page()->source(), page("premiere.html"));
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::HelpTest)
#include "help_test.moc"
