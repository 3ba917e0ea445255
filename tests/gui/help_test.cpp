#include "gui_testing.h"

#include "dialogs/c_help.h"
#include "platform/chm_archive.h"
#include "platform/chm_help_viewer.h"
#include "platform/chm_system_files.h"
#include "platform/help_window.h"
#include "platform/sitemap.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

#include <string>

namespace logweave::testing {
namespace {

// The help file the build compiled from help/.
const std::string kHelpFile = LOGWEAVE_HELP_FILE;
// A small one of the tests' own, from tests/gui/help_sample/.
const std::string kSampleFile = LOGWEAVE_SAMPLE_HELP_FILE;
const QString kFirstTitle = QStringLiteral("Logweave : présentation [Overview]");

platform::HelpRequest tocRequest(const std::string& file)
{
    return {file, platform::HelpCommand::DisplayToc, 0, std::nullopt};
}

// One line an entry: its depth as indentation, its name, and its page.
void flatten(const std::vector<platform::SitemapEntry>& entries, QStringList& out, int depth = 0)
{
    for (const auto& entry : entries) {
        out << QString(depth * 2, u' ') + entry.name + " -> " + entry.local;
        flatten(entry.children, out, depth + 1);
    }
}

QStringList flattened(const char* sitemap)
{
    QStringList out;
    flatten(platform::parseSitemap(QByteArrayView(sitemap)), out);
    return out;
}

void putLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
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
            const QRect at = page->cursorRect(cursor);
            QTest::mouseClick(page->viewport(), Qt::LeftButton, {}, at.center() - QPoint(2, 0));
            return true;
        }
    }
    return false;
}

// As a user's hand does it: the view sees the press before the double-click.
void doubleClick(QWidget* widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

struct Viewer {
    platform::ChmHelpViewer viewer;

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
    void fileStringTrimsBothPartsOnlyWhenAWindowTypeIsNamed_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<std::optional<std::string>>("window");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both trimmed") << "  /opt/Log weave/Logweave.chm " << std::optional<std::string>(" W1  ")
                                      << "/opt/Log weave/Logweave.chm>W1";
        QTest::newRow("empty type") << "  Logweave.chm " << std::optional<std::string>("") << "  Logweave.chm ";
        QTest::newRow("no type") << "  Logweave.chm " << std::optional<std::string>() << "  Logweave.chm ";
        QTest::newRow("blank type") << " Logweave.chm" << std::optional<std::string>("   ") << "Logweave.chm>";
    }

    void fileStringTrimsBothPartsOnlyWhenAWindowTypeIsNamed()
    {
        QFETCH(QString, file);
        QFETCH(std::optional<std::string>, window);
        QFETCH(QString, expected);
        FakeHelpViewer viewer;
        dialogs::CHelp(viewer).Show(file.toStdString(), window);
        QCOMPARE(viewer.requests.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(viewer.requests.front().file), expected);
    }

    void eachCommandCarriesItsData()
    {
        FakeHelpViewer viewer;
        dialogs::CHelp help(viewer);
        help.Show("h.chm", std::string("W1"));
        help.Show("h.chm", std::string("W1"), 4711);
        help.ShowIndex("h.chm", std::string("W1"));
        help.ShowSearch("h.chm", std::string("W1"));
        using platform::HelpCommand;
        QCOMPARE(viewer.requests.size(), std::size_t{4});
        QVERIFY((viewer.requests[0] == platform::HelpRequest{"h.chm>W1", HelpCommand::DisplayToc, 0, std::nullopt}));
        QVERIFY((viewer.requests[1] == platform::HelpRequest{"h.chm>W1", HelpCommand::HelpContext, 4711, std::nullopt}));
        QVERIFY((viewer.requests[2] == platform::HelpRequest{"h.chm>W1", HelpCommand::DisplayIndex, 0, std::nullopt}));
        QVERIFY(viewer.requests[3].command == HelpCommand::DisplaySearch);
        QVERIFY(viewer.requests[3].search.has_value());
    }

    void sitemapNestsEachListUnderTheEntryBeforeIt()
    {
        const char* sitemap = R"(<HTML><BODY>
<object type="text/site properties"><param name="Name" value="not an entry"></object>
<!-- <OBJECT type="text/sitemap"><param name="Name" value="commented out"></OBJECT> -->
<UL>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="Début &amp; fin"><param name="Local" value="a.html"></OBJECT>
  <UL>
    <LI><object TYPE='text/sitemap'><PARAM value='b.html#x' NAME='Local'><param name=Name value=B></object>
    <UL><LI><OBJECT type="text/sitemap"><param name="Name" value="C &#233;t&#xE9;"><param name="Local" value="c.html"></OBJECT></UL>
    <LI><OBJECT type="text/sitemap"><param name="Name" value="Heading only"></OBJECT>
  </UL>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="D"><param name="Local" value="d.html"><param name="Name" value="D again"><param name="Local" value="e.html"></OBJECT>
</UL></BODY></HTML>)";
        QCOMPARE(flattened(sitemap), (QStringList{"Début & fin -> a.html", "  B -> b.html#x", "    C été -> c.html",
                                                  "  Heading only -> ", "D -> d.html"}));
    }

    void sitemapWithoutListsOrInWindows1252StillReads()
    {
        // An index may hold its entries without any list; older files are not UTF-8.
        QCOMPARE(flattened("<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"\xE9t\xE9\">"
                           "<param name=\"Local\" value=\"s.html\"></OBJECT>"),
                 (QStringList{"été -> s.html"}));
        QCOMPARE(flattened("<UL></UL></UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"x.html\">"),
                 QStringList());
    }

    void firstPageIsTheFirstEntryThatNamesOne()
    {
        const auto entries = platform::parseSitemap(QByteArrayView(
            "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Heading\"></OBJECT>"
            "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Inner\"><param name=\"Local\" "
            "value=\"inner.html\"></OBJECT></UL>"
            "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Next\"><param name=\"Local\" "
            "value=\"next.html\"></OBJECT></UL>"));
        QCOMPARE(platform::firstPage(entries), QStringLiteral("inner.html"));
        QCOMPARE(platform::firstPage({}), QString());
    }

    void damagedSystemFilesGiveWhatCouldBeRead()
    {
        // #WINDOWS: a count of three, entries of 0xC4 bytes, but only one there.
        std::string windows(8 + 0xC4 + 20, '\0');
        putLittleEndian(windows, 0, 3);
        putLittleEndian(windows, 4, 0xC4);
        putLittleEndian(windows, 8 + 0x08, 1);    // name
        putLittleEndian(windows, 8 + 0x14, 4);    // caption
        putLittleEndian(windows, 8 + 0x60, 999);  // contents file, past the strings
        const std::string strings("\0W1\0Caption\0", 12);
        const auto types = platform::parseWindowTypes(windows, strings);
        QCOMPARE(types.size(), std::size_t{1});
        QCOMPARE(types[0].name, std::string("W1"));
        QCOMPARE(types[0].caption, std::string("Caption"));
        QCOMPARE(types[0].contentsFile, std::string());
        putLittleEndian(windows, 4, 0x20);  // too short to hold a caption and files
        QVERIFY(platform::parseWindowTypes(windows, strings).empty());

        // #SYSTEM: a title, then an entry that claims more bytes than the file has.
        std::string system("\3\0\0\0" "\3\0\6\0" "Title\0" "\2\0\x50\0" "index.html", 24);
        const auto info = platform::parseSystemFile(system);
        QCOMPARE(info.title, std::string("Title"));
        QCOMPARE(info.defaultTopic, std::string());
    }

    void builtHelpFileDefinesTheWindowTypeW1()
    {
        const auto archive = platform::ChmArchive::open(kHelpFile);
        QVERIFY(archive != nullptr);
        const platform::ChmWindowType* w1 = archive->windowType("W1");
        QVERIFY(w1 != nullptr);
        QCOMPARE(w1->caption, std::string("Aide de Logweave [Logweave help]"));
        QCOMPARE(w1->contentsFile, std::string("Logweave.hhc"));
        QCOMPARE(archive->system().title, std::string("Logweave"));
        QCOMPARE(archive->system().defaultWindow, std::string("W1"));
        QVERIFY(!archive->read("/no such page.html").has_value());
    }

    void viewerOpensTheBuiltHelpAtItsFirstPage()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        Viewer v;
        v.viewer.show(tocRequest(kHelpFile + ">W1"));
        QVERIFY(v.window() != nullptr);
        QVERIFY(v.window()->isVisible());
        QVERIFY(v.window()->parentWidget() == nullptr);
        QVERIFY(!v.window()->isModal());
        QCOMPARE(v.window()->windowTitle(), QStringLiteral("Aide de Logweave [Logweave help]"));

        QTreeWidget* contents = v.tree("Contents");
        QVERIFY(contents->topLevelItemCount() >= 5);
        QCOMPARE(contents->topLevelItem(0)->text(0), kFirstTitle);
        QCOMPARE(contents->findItems(QStringLiteral("Le dialogue de conflit [The conflict dialog]"),
                                     Qt::MatchExactly | Qt::MatchRecursive)
                     .size(),
                 1);
        QCOMPARE(v.tree("Index")->findItems(QStringLiteral("Logweave.cfg"), Qt::MatchExactly).size(), 1);
        QVERIFY(child<QTabWidget>(v.window(), "Tabs")->currentWidget() == contents);

        QTextBrowser* page = v.page();
        QCOMPARE(page->source(), QUrl(QStringLiteral("chm:/index.html")));
        QCOMPARE(page->documentTitle(), kFirstTitle);
        QVERIFY(page->toPlainText().contains(kFirstTitle));
        // Pictures come from inside the file too.
        const QVariant picture =
            page->document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("images/logweave.png")));
        const QImage image = picture.typeId() == QMetaType::QByteArray ? QImage::fromData(picture.toByteArray())
                                                                        : picture.value<QImage>();
        QCOMPARE(image.size(), QSize(64, 64));
    }

    void linksAndContentsEntriesOpenTheirPages()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        Viewer v;
        v.viewer.show(tocRequest(kHelpFile + ">W1"));
        QVERIFY(QTest::qWaitForWindowExposed(v.window()));
        QTextBrowser* page = v.page();

        QVERIFY(clickLink(page, QStringLiteral("ouvrir.html")));
        QTRY_COMPARE(page->documentTitle(), QStringLiteral("Ouvrir [Open]"));
        QCOMPARE(page->source(), QUrl(QStringLiteral("chm:/ouvrir.html")));
        QTreeWidget* contents = v.tree("Contents");
        QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Ouvrir [Open]"));

        const auto found = contents->findItems(QStringLiteral("Filtrer [Filter]"), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        contents->scrollToItem(found.front());
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(found.front()).center());
        QTRY_COMPARE(page->documentTitle(), QStringLiteral("Filtrer [Filter]"));

        // A link to a place in another page.
        QVERIFY(clickLink(page, QStringLiteral("options.html#entete")));
        QTRY_COMPARE(page->source(), QUrl(QStringLiteral("chm:/options.html#entete")));
        QCOMPARE(page->documentTitle(), QStringLiteral("Les options [The options]"));
    }

    void laterRequestsReuseTheWindowAndTheIndexCommandShowsTheIndex()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        Viewer v;
        v.viewer.show(tocRequest(kHelpFile + ">W1"));
        QWidget* first = v.window();
        v.page()->setSource(QUrl(QStringLiteral("chm:/wsjtx.html")));
        v.window()->close();

        v.viewer.show({kHelpFile + ">W1", platform::HelpCommand::DisplayIndex, 0, std::nullopt});
        QVERIFY(v.window() == first);
        QVERIFY(v.window()->isVisible());
        QVERIFY(child<QTabWidget>(v.window(), "Tabs")->currentWidget() == v.tree("Index"));
        QCOMPARE(v.page()->documentTitle(), kFirstTitle);
    }

    void aMissingOrUnreadableFileIsNamedAndChangesNothing_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << false;
        QTest::newRow("not a help file") << true;
    }

    void aMissingOrUnreadableFileIsNamedAndChangesNothing()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        QFETCH(bool, exists);
        TemporaryFolder folder;
        const std::string bad = exists ? folder.write("Logweave.chm", "ITSF but not really").string()
                                       : (folder / "Logweave.chm").string();
        Viewer v;
        v.viewer.show(tocRequest(kHelpFile + ">W1"));
        v.page()->setSource(QUrl(QStringLiteral("chm:/cli.html")));

        QString message;
        bool finished = false;
        whenModal(
            [&message](QWidget* dialog) {
                auto* box = qobject_cast<QMessageBox*>(dialog);
                QVERIFY(box != nullptr);
                message = box->text();
                box->button(QMessageBox::Ok)->click();
            },
            &finished);
        v.viewer.show(tocRequest(bad + ">W1"));
        QVERIFY(finished);
        QCOMPARE(message, QStringLiteral("Fichier d'aide introuvable ou illisible [Help file missing or unreadable] : %1")
                              .arg(QString::fromStdString(bad)));
        QCOMPARE(v.window()->windowTitle(), QStringLiteral("Aide de Logweave [Logweave help]"));
        QCOMPARE(v.page()->source(), QUrl(QStringLiteral("chm:/cli.html")));
    }

    void noWindowOpensForAFileThatCannotBeRead()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        TemporaryFolder folder;
        Viewer v;
        bool finished = false;
        whenModal([](QWidget* dialog) { dialog->close(); }, &finished);
        v.viewer.show(tocRequest((folder / "none.chm").string()));
        QVERIFY(finished);
        QVERIFY(v.window() == nullptr);
    }

    void searchTabListsThePagesAndMarksTheWordsOnTheOneChosen()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        Viewer v;
        v.viewer.show(tocRequest(kHelpFile + ">W1"));
        QVERIFY(QTest::qWaitForWindowExposed(v.window()));
        child<QTabWidget>(v.window(), "Tabs")->setCurrentWidget(child<QWidget>(v.window(), "Search"));
        auto* text = child<QLineEdit>(v.window(), "SearchText");
        auto* results = child<QListWidget>(v.window(), "SearchResults");
        QTest::keyClicks(text, QStringLiteral("FREQUENCE"));
        QTest::mouseClick(child<QPushButton>(v.window(), "SearchButton"), Qt::LeftButton);
        QCOMPARE(results->count(), 1);
        QCOMPARE(results->item(0)->text(), QStringLiteral("Les fichiers [The files]"));
        QCOMPARE(child<QLabel>(v.window(), "SearchStatus")->text(), QStringLiteral("1 page trouvée [1 page found]"));

        doubleClick(results->viewport(), results->visualItemRect(results->item(0)).center());
        QTextBrowser* page = v.page();
        QTRY_COMPARE(page->source(), QUrl(QStringLiteral("chm:/fichiers.html")));
        const auto marks = page->extraSelections();
        QVERIFY(!marks.isEmpty());
        for (const auto& mark : marks)
            QCOMPARE(mark.cursor.selectedText().toLower(), QStringLiteral("fréquence"));
        QCOMPARE(page->textCursor().position(), marks.front().cursor.selectionStart());
        QVERIFY(page->cursorRect().intersects(page->viewport()->rect()));

        // Marks go with their page; a word on no page together with another finds nothing.
        v.click("Back");
        QTRY_COMPARE(page->source(), QUrl(QStringLiteral("chm:/index.html")));
        QVERIFY(page->extraSelections().isEmpty());
        text->clear();
        QTest::keyClicks(text, QStringLiteral("frequence janvier"));
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(results->count(), 0);
        QCOMPARE(child<QLabel>(v.window(), "SearchStatus")->text(),
                 QStringLiteral("Aucune page trouvée [No page found]"));
    }

    void backForwardAndHomeFollowThePagesShown()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        Viewer v;
        v.viewer.show(tocRequest(kHelpFile + ">W1"));
        QVERIFY(QTest::qWaitForWindowExposed(v.window()));
        QTextBrowser* page = v.page();
        QVERIFY(!v.button("Back")->isEnabled());
        QVERIFY(!v.button("Forward")->isEnabled());

        QVERIFY(clickLink(page, QStringLiteral("ouvrir.html")));
        QTRY_COMPARE(page->source(), QUrl(QStringLiteral("chm:/ouvrir.html")));
        QVERIFY(v.button("Back")->isEnabled());
        v.click("Back");
        QTRY_COMPARE(page->source(), QUrl(QStringLiteral("chm:/index.html")));
        QCOMPARE(page->documentTitle(), kFirstTitle);
        QVERIFY(!v.button("Back")->isEnabled());
        QVERIFY(v.button("Forward")->isEnabled());
        v.click("Forward");
        QTRY_COMPARE(page->source(), QUrl(QStringLiteral("chm:/ouvrir.html")));
        QVERIFY(!v.button("Forward")->isEnabled());

        page->setSource(QUrl(QStringLiteral("chm:/cli.html")));
        v.click("Home");
        QTRY_COMPARE(page->source(), QUrl(QStringLiteral("chm:/index.html")));
        QVERIFY(v.button("Back")->isEnabled());
    }

    void eachRequestOpensItsTab()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        Viewer v;
        dialogs::CHelp help(v.viewer);
        help.ShowSearch(kHelpFile, std::string("W1"));
        QVERIFY(v.currentTab() == child<QWidget>(v.window(), "Search"));
        // The words come selected in the box, not searched for.
        auto* text = child<QLineEdit>(v.window(), "SearchText");
        QCOMPARE(text->text(), QStringLiteral("TEST"));
        QCOMPARE(text->selectedText(), QStringLiteral("TEST"));
        QCOMPARE(child<QListWidget>(v.window(), "SearchResults")->count(), 0);

        help.ShowIndex(kHelpFile, std::string("W1"));
        QVERIFY(v.currentTab() == v.tree("Index"));
        help.Show(kHelpFile, std::string("W1"));
        QVERIFY(v.currentTab() == v.tree("Contents"));
        help.ShowSearch(kHelpFile, std::string("W1"));
        help.Show(kHelpFile, std::string("W1"), 4711);
        QVERIFY(v.currentTab() == v.tree("Contents"));
    }

    void contextNumbersOpenTheirMappedPage_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("page");
        QTest::newRow("mapped") << 42 << "chm:/seconde.html";
        QTest::newRow("not mapped") << 7 << "chm:/premiere.html";
    }

    void contextNumbersOpenTheirMappedPage()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        QFETCH(int, context);
        QFETCH(QString, page);
        Viewer v;
        dialogs::CHelp(v.viewer).Show(kSampleFile, std::string("W1"), context);
        QCOMPARE(v.page()->source(), QUrl(page));
        QVERIFY(v.page()->toPlainText().contains(QStringLiteral("cepteur")));
    }

    void theWindowTypeGivesTheButtonsAndTheHomePage()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        Viewer v;
        v.viewer.show(tocRequest(kHelpFile + ">W1"));
        for (const char* name : {"Back", "Forward", "Home", "Print"})
            QVERIFY2(v.button(name)->isVisible(), name);

        // The sample's W1 has Back and Home only, and a home page that is not its first.
        v.viewer.show(tocRequest(kSampleFile + ">W1"));
        QCOMPARE(v.window()->windowTitle(), QStringLiteral("Exemple [Sample]"));
        QVERIFY(v.button("Back")->isVisible());
        QVERIFY(v.button("Home")->isVisible());
        QVERIFY(!v.button("Forward")->isVisible());
        QVERIFY(!v.button("Print")->isVisible());
        QCOMPARE(v.page()->source(), QUrl(QStringLiteral("chm:/premiere.html")));
        v.click("Home");
        QTRY_COMPARE(v.page()->source(), QUrl(QStringLiteral("chm:/accueil.html")));
    }

    void printHandsTheShownPageToThePrinter()
    {
#ifdef _WIN32
        QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
        Viewer v;
        v.viewer.show(tocRequest(kHelpFile + ">W1"));
        auto* window = qobject_cast<platform::HelpWindow*>(v.window());
        QVERIFY(window != nullptr);
        QStringList printed;
        QWidget* printedFrom = nullptr;
        window->setPagePrinter([&](QWidget* parent, const QTextDocument& page) {
            printedFrom = parent;
            printed << page.toPlainText();
        });
        v.page()->setSource(QUrl(QStringLiteral("chm:/cli.html")));
        v.click("Print");
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed.front(), v.page()->toPlainText());
        QVERIFY(printed.front().contains(QStringLiteral("logweave-cli")));
        QVERIFY(printedFrom == window);
    }

    void buttonsAndContextNumbersReadOnlyWhatTheFileHolds()
    {
        // A window type entry of 0x74 bytes: buttons only count when the entry says they were given.
        std::string windows(8 + 0x74, '\0');
        putLittleEndian(windows, 0, 1);
        putLittleEndian(windows, 4, 0x74);
        putLittleEndian(windows, 8 + 0x70, platform::ChmButton::Back | platform::ChmButton::Print);
        QVERIFY(!platform::parseWindowTypes(windows, {}).front().buttons.has_value());
        putLittleEndian(windows, 8 + 0x0C, 0x100);
        QCOMPARE(platform::parseWindowTypes(windows, {}).front().buttons,
                 std::optional<std::uint32_t>(platform::ChmButton::Back | platform::ChmButton::Print));

        // #IVB: a length that claims three pairs where two stand, one past the strings.
        std::string ivb(4 + 16, '\0');
        putLittleEndian(ivb, 0, 24);
        putLittleEndian(ivb, 4, 42);
        putLittleEndian(ivb, 8, 1);
        putLittleEndian(ivb, 12, 43);
        putLittleEndian(ivb, 16, 999);
        const auto pages = platform::parseContextIds(ivb, std::string("\0page.html\0", 11));
        QCOMPARE(pages.size(), std::size_t{1});
        QCOMPARE(pages.at(42), std::string("page.html"));
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::HelpTest)
#include "help_test.moc"
