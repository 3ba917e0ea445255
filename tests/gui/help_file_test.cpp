// What is read from a compiled help file: sitemaps, system files, the words of its pages.

#include "gui_testing.h"

#include "dialogs/c_help.h"
#include "platform/chm_archive.h"
#include "platform/chm_system_files.h"
#include "platform/help_search.h"
#include "platform/sitemap.h"

#include <QTest>

#include <string>

namespace logweave::testing {
namespace {

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
void flatten(const std::vector<platform::SitemapEntry>& entries, QStringList& out, int depth = 0)
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

QStringList pagesFound(const platform::HelpSearch& search, const QString& query)
{
    QStringList pages;
    for (const auto& hit : search.find(query))
        pages << hit.page;
    pages.sort();
    return pages;
}

}  // namespace

class HelpFileTest final : public QObject {
    Q_OBJECT

private slots:
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
        const auto read = platform::parseSitemap(sitemap);
        QStringList lines;
        flatten(read, lines);
        QCOMPARE(lines, entries);
        QCOMPARE(platform::firstPage(read), firstPage);
    }

    void damagedSystemFilesGiveWhatCouldBeRead()
    {
        // #WINDOWS: a count of three, entries of 0xC4 bytes, but only one there.
        std::vector<std::uint32_t> windows(2 + 0xC4 / 4 + 5);
        windows[0] = 3;
        windows[1] = 0xC4;
        windows[2 + 0x08 / 4] = 1;    // name
        windows[2 + 0x14 / 4] = 4;    // caption
        windows[2 + 0x60 / 4] = 999;  // contents file, past the strings
        const std::string strings("\0W1\0Caption\0", 12);
        const auto types = platform::parseWindowTypes(words(windows), strings);
        QCOMPARE(types.size(), std::size_t{1});
        QCOMPARE(types[0].name + "|" + types[0].caption + "|" + types[0].contentsFile, std::string("W1|Caption|"));
        windows[1] = 0x20;  // too short to hold a caption and files
        QVERIFY(platform::parseWindowTypes(words(windows), strings).empty());

        // Buttons only count when the entry says they were given.
        windows[1] = 0x74;
        windows[2 + 0x70 / 4] = platform::ChmButton::Back | platform::ChmButton::Print;
        QVERIFY(!platform::parseWindowTypes(words(windows), strings).front().buttons.has_value());
        windows[2 + 0x0C / 4] = 0x100;
        QCOMPARE(platform::parseWindowTypes(words(windows), strings).front().buttons,
                 std::optional<std::uint32_t>(platform::ChmButton::Back | platform::ChmButton::Print));

        // #SYSTEM: a title, then an entry that claims more bytes than the file has.
        const auto info = platform::parseSystemFile(std::string("\3\0\0\0" "\3\0\6\0" "Title\0" "\2\0\x50\0" "index.html", 24));
        QCOMPARE(info.title + "|" + info.defaultTopic, std::string("Title|"));

        // #IVB: a length that claims three pairs where two stand, one past the strings.
        const auto pages = platform::parseContextIds(words({24, 42, 1, 43, 999}), std::string("\0page.html\0", 11));
        QCOMPARE(pages, (std::map<std::int32_t, std::string>{{42, "page.html"}}));
    }

    void pagesHoldingEveryWordAreFound_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("case and accents ignored") << "EMETTEUR" << QStringList{"/a.html", "/c.html"};
        QTest::newRow("whole words only") << "émetteurs" << QStringList{"/b.html"};
        QTest::newRow("entities read") << "regle" << QStringList{"/a.html"};
        QTest::newRow("title searched") << "emission" << QStringList{"/a.html"};
        QTest::newRow("style sheet is no text") << "navy" << QStringList{};
        QTest::newRow("every word") << "antenne, émetteur" << QStringList{"/c.html"};
        QTest::newRow("one word missing") << "antenne récepteurs" << QStringList{};
        QTest::newRow("no word") << " ;-' " << QStringList{};
    }

    void pagesHoldingEveryWordAreFound()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, pages);
        platform::HelpSearch search;
        search.addPage(QStringLiteral("/a.html"),
                       "<html><head><title>Émission</title><style>p { color: navy }</style></head>"
                       "<body><p>L'<b>Émet</b>teur est r&eacute;gl&eacute;.</p></body></html>");
        search.addPage(QStringLiteral("/b.html"), "<p>EMETTEURS et récepteurs</p>");
        search.addPage(QStringLiteral("/c.html"), "<p>Un émetteur, une antenne.</p>");
        QCOMPARE(pagesFound(search, query), pages);
    }

    void pagesWithMoreHitsComeFirstThenByTitle()
    {
        platform::HelpSearch search;
        search.addPage(QStringLiteral("/once-z.html"), "<title>Zulu</title><p>antenne</p>");
        search.addPage(QStringLiteral("/twice.html"), "<title>Yankee</title><p>antenne, Antenne</p>");
        search.addPage(QStringLiteral("/once-a.html"), "<title>Alpha</title><p>antenne</p>");
        QStringList found;
        for (const auto& hit : search.find(QStringLiteral("antenne")))
            found << QStringLiteral("%1 %2").arg(hit.title).arg(hit.count);
        QCOMPARE(found, (QStringList{"Yankee 2", "Alpha 1", "Zulu 1"}));
    }

    void occurrencesAreWhereTheWordsStandAsWritten()
    {
        // "É" written as "E" and a combining accent is the same word.
        const QString text = QStringLiteral("L'Émetteur, les émetteurs, E\u0301METTEUR.");
        QStringList found;
        for (const auto& range : platform::HelpSearch::occurrences(text, platform::HelpSearch::foldedWords(u"emetteur")))
            found << text.mid(range.start, range.length);
        QCOMPARE(found, (QStringList{"Émetteur", "E\u0301METTEUR"}));
    }

    void everyPageOfTheFileIsSearchedAndNamed()
    {
        const auto archive = platform::ChmArchive::open(LOGWEAVE_SAMPLE_HELP_FILE);
        QVERIFY(archive != nullptr);
        const auto contents = archive->read("/Sample.hhc").value_or(std::string{});
        const auto search = platform::HelpSearch::ofArchive(
            *archive, platform::parseSitemap(QByteArrayView(contents.data(), static_cast<qsizetype>(contents.size()))));
        QCOMPARE(search.pageCount(), std::size_t{4});

        // Named by title, else by contents entry, else by path; outside the contents too.
        QStringList found;
        for (const char* word : {"antenne", "QUARTZ"})
            for (const auto& hit : search.find(QString::fromLatin1(word)))
                found << hit.page + " " + hit.title;
        QCOMPARE(found, (QStringList{"/accueil.html Accueil [Home]", "/seconde.html Seconde page [Second page]",
                                     "/orpheline.html /orpheline.html"}));
        // Marked up in the middle of the word, still one word.
        QCOMPARE(pagesFound(search, QStringLiteral("émetteur")), (QStringList{"/premiere.html", "/seconde.html"}));
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::HelpFileTest)
#include "help_file_test.moc"
