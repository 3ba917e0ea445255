// Help files as read (sitemaps, system files, the words of the pages) and the
// built-in viewer, over the help file the build compiled and a sample of the tests' own.

#include "gui_testing.h"

#include "dialogs/help_file.h"
#include "dialogs/program_help.h"
#include "helpviewer/chm_archive.h"
#include "helpviewer/chm_help_viewer.h"
#include "helpviewer/chm_system_files.h"
#include "helpviewer/help_search.h"
#include "helpviewer/help_window.h"
#include "helpviewer/sitemap.h"

#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
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

// Entries in lists in lists, in every spelling a help compiler writes.
const char* const kNestedSitemap = R"(<HTML><BODY>
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

// One line an entry: its depth as indentation, its name, and its page.
void flatten(const std::vector<helpviewer::SitemapEntry>& entries, QStringList& out, int depth = 0)
{
    for (const auto& entry : entries) {
        out << QString(depth * 2, u' ') + entry.name + " -> " + entry.local;
        flatten(entry.children, out, depth + 1);
    }
}

// 32-bit words as a system file stores them, little end first.
std::string words(const std::vector<std::uint32_t>& values)
{
    std::string bytes;
    for (std::uint32_t value : values)
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// The pages found, and how often the words stand on each, in the order given.
QStringList found(const helpviewer::HelpSearch& search, const QString& query)
{
    QStringList pages;
    for (const auto& hit : search.find(query))
        pages << QStringLiteral("%1 %2 %3").arg(hit.page, hit.title).arg(hit.count);
    return pages;
}

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
            if (it.fragment().charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(page->document());
            cursor.setPosition(it.fragment().position() + 1);
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
    helpviewer::ChmHelpViewer viewer;

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
    void click(const char* name) const
    {
        QTest::mouseClick(child<QToolBar>(viewer.window(), "Buttons")->widgetForAction(button(name)), Qt::LeftButton);
    }
};

}  // namespace

class HelpTest final : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
#ifdef _WIN32
        // There the system's HTML Help viewer shows help; reading help files stays the program's.
        if (QByteArray(QTest::currentTestFunction()).startsWith("viewer"))
            QSKIP("the system's HTML Help viewer shows help on Windows");
#endif
    }

    void fileStringTrimsBothPartsOnlyWhenAWindowTypeIsNamed()
    {
        using dialogs::helpFileString;
        QCOMPARE(helpFileString(" /opt/Log weave/L.chm ", " W1  "), std::string("/opt/Log weave/L.chm>W1"));
        QCOMPARE(helpFileString("  L.chm ", ""), std::string("  L.chm "));
        QCOMPARE(helpFileString("  L.chm ", std::nullopt), std::string("  L.chm "));
        QCOMPARE(helpFileString(" L.chm", "   "), std::string("L.chm>"));
    }

    void sitemapNestsEachListUnderTheEntryBeforeIt_data()
    {
        QTest::addColumn<QByteArray>("sitemap");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("firstPage");
        QTest::newRow("nested, in any spelling")
            << QByteArray(kNestedSitemap)
            << QStringList{"Début & fin -> a.html", "  B -> b.html#x", "    C été -> c.html", "  Heading only -> ", "D -> d.html"}
            << "a.html";
        // An index may hold its entries without any list; older files are not UTF-8.
        QTest::newRow("no list, Windows-1252") << QByteArray("<OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                                                             "value=\"\xE9t\xE9\"><param name=\"Local\" value=\"s.html\"></OBJECT>")
                                               << QStringList{"été -> s.html"} << "s.html";
        QTest::newRow("stray ends, an entry cut short")
            << QByteArray("<UL></UL></UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"x.html\">")
            << QStringList{} << "";
        QTest::newRow("a heading first: the first page is under it")
            << QByteArray("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"H\"></OBJECT><UL><LI><OBJECT "
                          "type=\"text/sitemap\"><param name=\"Name\" value=\"I\"><param name=\"Local\" value=\"i.html\">"
                          "</OBJECT></UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"N\"><param "
                          "name=\"Local\" value=\"n.html\"></OBJECT></UL>")
            << QStringList{"H -> ", "  I -> i.html", "N -> n.html"} << "i.html";
    }

    void sitemapNestsEachListUnderTheEntryBeforeIt()
    {
        QFETCH(QByteArray, sitemap);
        QFETCH(QStringList, entries);
        QFETCH(QString, firstPage);
        const auto read = helpviewer::parseSitemap(sitemap);
        QStringList lines;
        flatten(read, lines);
        QCOMPARE(lines, entries);
        QCOMPARE(helpviewer::firstPage(read), firstPage);
    }

    // Each damaged system file gives what could be read of it.
    void windowTypesOfADamagedFile()
    {
        // A count of three, entries of 0xC4 bytes, but only one there.
        std::vector<std::uint32_t> windows(2 + 0xC4 / 4 + 5);
        windows[0] = 3;
        windows[1] = 0xC4;
        windows[2 + 0x08 / 4] = 1;    // name
        windows[2 + 0x14 / 4] = 4;    // caption
        windows[2 + 0x60 / 4] = 999;  // contents file, past the strings
        const std::string strings("\0W1\0Caption\0", 12);
        const auto types = helpviewer::parseWindowTypes(words(windows), strings);
        QCOMPARE(types.size(), std::size_t{1});
        QCOMPARE(types[0].name + "|" + types[0].caption + "|" + types[0].contentsFile, std::string("W1|Caption|"));
        windows[1] = 0x20;  // too short to hold a caption and files
        QVERIFY(helpviewer::parseWindowTypes(words(windows), strings).empty());
        windows[1] = 0x74;  // buttons count only when the entry says they were given
        windows[2 + 0x70 / 4] = helpviewer::ChmButton::Back;
        QVERIFY(!helpviewer::parseWindowTypes(words(windows), strings).front().buttons.has_value());
    }

    void systemFileOfADamagedFile()
    {
        // A title, then an entry that claims more bytes than the file has.
        const auto info = helpviewer::parseSystemFile(std::string("\3\0\0\0" "\3\0\6\0" "Title\0" "\2\0\x50\0" "index.html", 24));
        QCOMPARE(info.title + "|" + info.defaultTopic, std::string("Title|"));
    }

    void contextPagesOfADamagedFile()
    {
        // A length that claims three pairs where two stand, one past the strings.
        const auto pages = helpviewer::parseContextIds(words({24, 42, 1, 43, 999}), std::string("\0page.html\0", 11));
        QCOMPARE(pages, (std::map<std::int32_t, std::string>{{42, "page.html"}}));
    }

    void searchFindsThePagesHoldingEveryWord_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("case, accents, markup ignored") << "EMETTEUR" << QStringList{"/c.html Alpha 1", "/a.html Émission 1"};
        QTest::newRow("whole words only") << "émetteurs" << QStringList{"/b.html /b.html 1"};
        QTest::newRow("entities read") << "regle" << QStringList{"/a.html Émission 1"};
        QTest::newRow("title searched") << "emission" << QStringList{"/a.html Émission 1"};
        QTest::newRow("style sheet is no text") << "navy" << QStringList{};
        QTest::newRow("every word") << "antenne, émetteur" << QStringList{"/c.html Alpha 2"};
        QTest::newRow("one word missing") << "antenne récepteurs" << QStringList{};
        QTest::newRow("no word") << " ;-' " << QStringList{};
        QTest::newRow("more hits first, then by title")
            << "antenne" << QStringList{"/d.html Zulu 2", "/c.html Alpha 1", "/e.html Yankee 1"};
    }

    void searchFindsThePagesHoldingEveryWord()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, pages);
        helpviewer::HelpSearch search;
        search.addPage(QStringLiteral("/a.html"),
                       "<html><head><title>Émission</title><style>p { color: navy }</style></head>"
                       "<body><p>L'<b>Émet</b>teur est r&eacute;gl&eacute;.</p></body></html>");
        search.addPage(QStringLiteral("/b.html"), "<p>EMETTEURS et récepteurs</p>");
        search.addPage(QStringLiteral("/c.html"), "<title>Alpha</title><p>Un émetteur, une antenne.</p>");
        search.addPage(QStringLiteral("/d.html"), "<title>Zulu</title><p>antenne, Antenne</p>");
        search.addPage(QStringLiteral("/e.html"), "<title>Yankee</title><p>antenne</p>");
        QCOMPARE(found(search, query), pages);
    }

    void searchOfAFileReadsEveryPageAndNamesIt()
    {
        const auto archive = helpviewer::ChmArchive::open(kSampleFile);
        QVERIFY(archive != nullptr);
        const auto contents = archive->read("/Sample.hhc").value_or(std::string{});
        const auto search = helpviewer::HelpSearch::ofArchive(
            *archive, helpviewer::parseSitemap(QByteArrayView(contents.data(), static_cast<qsizetype>(contents.size()))));
        QCOMPARE(search.pageCount(), std::size_t{4});
        // Named by title, else by contents entry, else by path; outside the contents too.
        QCOMPARE(found(search, QStringLiteral("antenne")) + found(search, QStringLiteral("QUARTZ")),
                 (QStringList{"/accueil.html Accueil [Home] 2", "/seconde.html Seconde page [Second page] 1",
                              "/orpheline.html /orpheline.html 1"}));
    }

    // "É" written as "E" and a combining accent is the same word, marked where it stands.
    void searchMarksEveryWayAWordIsWritten()
    {
        const QString text = QStringLiteral("L'Émetteur, les émetteurs, E\u0301METTEUR.");
        QStringList marked;
        for (const auto& range : helpviewer::HelpSearch::occurrences(text, helpviewer::HelpSearch::foldedWords(u"emetteur")))
            marked << text.mid(range.start, range.length);
        QCOMPARE(marked, (QStringList{"Émetteur", "E\u0301METTEUR"}));
    }

    void viewerOpensTheBuiltHelpInAWindowOfItsOwn()
    {
        Viewer v;
        QVERIFY(v.window()->isVisible() && v.window()->parentWidget() == nullptr && !v.window()->isModal());
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
    }

    // Each later request shows the same window again, on its own tab.
    void viewerShowsEachLaterRequestInTheSameWindowOnItsTab()
    {
        Viewer v;
        QWidget* first = v.window();
        v.page()->setSource(page("wsjtx.html"));
        v.window()->close();
        dialogs::HelpFile help(v.viewer);
        help.showIndex(kHelpFile, std::string("W1"));
        QVERIFY(v.window() == first && v.window()->isVisible());
        QVERIFY(v.currentTab() == v.tree("Index"));
        QCOMPARE(v.page()->documentTitle(), kFirstTitle);
        help.showSearch(kHelpFile, std::string("W1"));
        QVERIFY(v.currentTab() == child<QWidget>(v.window(), "Search"));
        // The words come selected in the box, not searched for.
        QCOMPARE(child<QLineEdit>(v.window(), "SearchText")->selectedText(), QStringLiteral("TEST"));
        QCOMPARE(child<QListWidget>(v.window(), "SearchResults")->count(), 0);
        help.showContents(kHelpFile, std::string("W1"), 4711);
        QVERIFY(v.currentTab() == v.tree("Contents"));
    }

    // W1 has all four buttons (the sample's two), and Print hands the page shown to the printer.
    void viewerPrintsThePageShown()
    {
        Viewer v;
        for (const char* name : {"Back", "Forward", "Home", "Print"})
            QVERIFY2(v.button(name)->isVisible(), name);
        auto* window = qobject_cast<helpviewer::HelpWindow*>(v.window());
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

    // A picture wider than the page is shown at the page's width, in its
    // proportions, and at its own size again once the page is wide enough.
    void viewerFitsPicturesToThePage()
    {
        Viewer v;
        v.window()->resize(900, 600);
        QVERIFY(QTest::qWaitForWindowExposed(v.window()));
        v.page()->setSource(page("options.html"));
        const auto shown = [&] {
            for (QTextBlock block = v.page()->document()->begin(); block.isValid(); block = block.next())
                for (auto it = block.begin(); !it.atEnd(); ++it)
                    if (const QTextImageFormat picture = it.fragment().charFormat().toImageFormat(); picture.isValid())
                        return QSizeF(picture.width(), picture.height());
            return QSizeF();
        };
        const QVariant data = v.page()->loadResource(QTextDocument::ImageResource, page("images/options.png"));
        const QSize own = QImage::fromData(data.toByteArray()).size();
        QVERIFY(own.width() > v.page()->viewport()->width());
        QVERIFY(shown().width() > 0 && shown().width() < v.page()->viewport()->width());
        QCOMPARE(qRound(shown().width() * own.height() / own.width()), qRound(shown().height()));
        QCOMPARE(v.page()->horizontalScrollBar()->maximum(), 0);

        v.window()->resize(own.width() * 3, 600);
        QTRY_COMPARE(shown(), QSizeF(own));
    }

    // Opened from a Help menu, the window comes at the size and place it was closed at, in a later run too.
    void viewerWindowKeepsItsSizeAndPlace()
    {
        FakePlatform fakes;
        FakeProgramFolders folders(QFileInfo(QString::fromStdString(kHelpFile)).path());
        const auto open = [&](helpviewer::ChmHelpViewer& viewer) {
            platform::Platform platform{fakes.fileDialog, fakes.inputBox, viewer, fakes.exit, folders, fakes.settings};
            dialogs::showProgramHelp(platform);
            return viewer.window();
        };
        const QRect place(40, 50, 700, 500);
        {
            helpviewer::ChmHelpViewer run;
            QWidget* window = open(run);
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QVERIFY(window->geometry() != place);
            window->setGeometry(place);
            window->close();
        }
        helpviewer::ChmHelpViewer later;
        QWidget* window = open(later);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->geometry(), place);
    }

    // Wherever the focus is, typing included.
    void viewerClosesOnEscapeAndCtrlW_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<QKeyCombination>("key");
        for (const char* focused : {"Page", "Contents", "SearchText"}) {
            QTest::addRow("Escape in %s", focused) << focused << QKeyCombination(Qt::Key_Escape);
            QTest::addRow("Ctrl+W in %s", focused) << focused << (Qt::CTRL | Qt::Key_W);
        }
    }
    void viewerClosesOnEscapeAndCtrlW()
    {
        QFETCH(QString, focused);
        QFETCH(QKeyCombination, key);
        Viewer v;
        if (focused == QLatin1String("SearchText"))
            dialogs::HelpFile(v.viewer).showSearch(kHelpFile, std::string("W1"));
        QVERIFY(QTest::qWaitForWindowActive(v.window()));
        QWidget* control = child<QWidget>(v.window(), qPrintable(focused));
        control->setFocus();
        QTest::keyClick(control, key.key(), key.keyboardModifiers());
        QVERIFY(!v.window()->isVisible());
    }

    void viewerFollowsLinksContentsBackAndForward()
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
    }

    void viewerSearchListsThePagesAndMarksTheWordsOnTheOneChosen()
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

    void viewerNamesAMissingOrUnreadableFileAndChangesNothing()
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
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages[0].endsWith(QString::fromStdString(missing)) && messages[1].endsWith(QString::fromStdString(unreadable)),
                 qPrintable(messages.join(u'\n')));
    }

    // The sample's W1 has Back and Home only, and a home page that is not its first.
    void viewerTakesTheSamplesButtonsHomePageAndContextPages()
    {
        Viewer v(false);
        dialogs::HelpFile help(v.viewer);
        help.showContents(kSampleFile, std::string("W1"), 42);
        QCOMPARE(v.window()->windowTitle(), QStringLiteral("Exemple [Sample]"));
        QCOMPARE(v.page()->source(), page("seconde.html"));
        QVERIFY(v.page()->toPlainText().contains(QStringLiteral("EMETTEUR")));
        for (const char* name : {"Back", "Home"})
            QVERIFY2(v.button(name)->isVisible(), name);
        for (const char* name : {"Forward", "Print"})
            QVERIFY2(!v.button(name)->isVisible(), name);
        v.click("Home");
        QTRY_COMPARE(v.page()->source(), page("accueil.html"));
        help.showContents(kSampleFile, std::string("W1"), 7);  // mapped to no page: the first
        QCOMPARE(v.page()->source(), page("premiere.html"));
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::HelpTest)
#include "help_test.moc"
