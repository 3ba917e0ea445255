#include "platform/chm_archive.h"
#include "platform/help_search.h"
#include "platform/sitemap.h"

#include <QTest>

#include <memory>
#include <string>

namespace logweave::testing {
namespace {

const std::string kSampleFile = LOGWEAVE_SAMPLE_HELP_FILE;

// Three pages that share words in several spellings.
platform::HelpSearch threePages()
{
    platform::HelpSearch search;
    search.addPage(QStringLiteral("/a.html"),
                   "<html><head><title>Émission</title><style>p { color: navy }</style></head>"
                   "<body><p>L'<b>Émet</b>teur est r&eacute;gl&eacute;.</p></body></html>");
    search.addPage(QStringLiteral("/b.html"), "<p>EMETTEURS et récepteurs</p>");
    search.addPage(QStringLiteral("/c.html"), "<p>Un émetteur, une antenne.</p>");
    return search;
}

QStringList pagesFound(const platform::HelpSearch& search, const QString& query)
{
    QStringList pages;
    for (const auto& hit : search.find(query))
        pages << hit.page;
    pages.sort();
    return pages;
}

std::unique_ptr<platform::ChmArchive> openHelp(const std::string& file)
{
    auto archive = platform::ChmArchive::open(file);
    if (archive == nullptr)
        qFatal("cannot open %s", file.c_str());
    return archive;
}

platform::HelpSearch searchOf(const platform::ChmArchive& archive, const char* contentsFile)
{
    const auto contents = archive.read(contentsFile).value_or(std::string{});
    return platform::HelpSearch::ofArchive(
        archive, platform::parseSitemap(QByteArrayView(contents.data(), static_cast<qsizetype>(contents.size()))));
}

}  // namespace

class HelpSearchTest final : public QObject {
    Q_OBJECT

private slots:
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
        QCOMPARE(pagesFound(threePages(), query), pages);
    }

    void pagesWithMoreHitsComeFirstThenByTitle()
    {
        platform::HelpSearch search;
        search.addPage(QStringLiteral("/once-z.html"), "<title>Zulu</title><p>antenne</p>");
        search.addPage(QStringLiteral("/twice.html"), "<title>Yankee</title><p>antenne, Antenne</p>");
        search.addPage(QStringLiteral("/once-a.html"), "<title>Alpha</title><p>antenne</p>");
        const auto hits = search.find(QStringLiteral("antenne"));
        QCOMPARE(hits.size(), std::size_t{3});
        QCOMPARE(hits[0].title, QStringLiteral("Yankee"));
        QCOMPARE(hits[0].count, 2);
        QCOMPARE(hits[1].title, QStringLiteral("Alpha"));
        QCOMPARE(hits[2].title, QStringLiteral("Zulu"));
    }

    void occurrencesAreWhereTheWordsStandAsWritten()
    {
        // "É" written as "E" and a combining accent is the same word.
        const QString text = QStringLiteral("L'Émetteur, les émetteurs, E\u0301METTEUR.");
        const auto ranges = platform::HelpSearch::occurrences(text, platform::HelpSearch::foldedWords(u"emetteur"));
        QCOMPARE(ranges.size(), std::size_t{2});
        QCOMPARE(text.mid(ranges[0].start, ranges[0].length), QStringLiteral("Émetteur"));
        QCOMPARE(text.mid(ranges[1].start, ranges[1].length), QStringLiteral("E\u0301METTEUR"));
    }

    void everyPageOfTheFileIsSearchedAndNamed()
    {
        const auto archive = openHelp(kSampleFile);
        const auto search = searchOf(*archive, "/Sample.hhc");
        QCOMPARE(search.pageCount(), std::size_t{4});

        // Named by title, else by contents entry, else by path; outside the contents too.
        const auto antenna = search.find(QStringLiteral("antenne"));
        QCOMPARE(antenna.size(), std::size_t{2});
        QCOMPARE(antenna[0].title, QStringLiteral("Accueil [Home]"));
        QCOMPARE(antenna[1].title, QStringLiteral("Seconde page [Second page]"));
        const auto quartz = search.find(QStringLiteral("QUARTZ"));
        QCOMPARE(quartz.size(), std::size_t{1});
        QCOMPARE(quartz[0].page, QStringLiteral("/orpheline.html"));
        QCOMPARE(quartz[0].title, QStringLiteral("/orpheline.html"));
        // Marked up in the middle of the word, still one word.
        QCOMPARE(pagesFound(search, QStringLiteral("émetteur")),
                 (QStringList{"/premiere.html", "/seconde.html"}));
    }
};

}  // namespace logweave::testing

QTEST_MAIN(logweave::testing::HelpSearchTest)
#include "help_search_test.moc"
