// The English translation built into the program: loaded at start, it gives counted texts their plural forms; and
// every counted text of the program has its forms in it.
#include "meteo/base/wcondition.h"
#include "meteo/reader/wreader.h"
#include "nimbdesk/alerts/calertnotifier.h"
#include "nimbdesk/freshness/progresswords.h"
#include "nimbdesk/freshness/timetext.h"
#include "nimbdesk/window/translation.h"
#include "tests/support/infolinerecorder.h"
#include "tests/support/memorykeeper.h"
#include "tests/support/readerplace.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

using namespace meteo;
using namespace nimbdesk;

namespace
{

// Marks every text it is asked for in the reader's progress words, so that a text left untranslated shows.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return QLatin1String(context) == QLatin1String("ProgressWords") ? QStringLiteral("[%1]").arg(source)
                                                                        : QString();
    }
    bool isEmpty() const override { return false; }
};

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void countedTextsHaveTheirPluralForms();
    void everyCountedTextIsTranslated();
    void everyProgressTextOfTheReaderIsTranslated();
};

void TestTranslation::countedTextsHaveTheirPluralForms()
{
    QVERIFY(installTranslation(*QCoreApplication::instance()));
    // The class's own context, namespace included, is the one its texts are looked up in.
    QCOMPARE(CAlertNotifier::tr("%n more alerts for %1", nullptr, 1), QStringLiteral("1 more alert for %1"));
    QCOMPARE(CAlertNotifier::tr("%n more alerts for %1", nullptr, 3), QStringLiteral("3 more alerts for %1"));
    QCOMPARE(QCoreApplication::translate("TimeText", "%n days ago", nullptr, 1), QStringLiteral("1 day ago"));
    QCOMPARE(ageText(50 * 3600), QStringLiteral("2 days ago"));
    QCOMPARE(ageText(3 * 3600 + 59 * 60), QStringLiteral("3 h ago"));
    QCOMPARE(ageText(3600), QStringLiteral("1 h ago"));
    QCOMPARE(ageText(59), QStringLiteral("0 min ago"));
}

// A text counted with "%n" whose forms are missing in the .ts file reads "1 days" once more.
void TestTranslation::everyCountedTextIsTranslated()
{
    QFile file(QStringLiteral(NIMBREL_SOURCE_DIR "/nimbdesk/translations/nimbrel_en.ts"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString source;
    bool numerus = false;
    int counted = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("message"))
            numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation") && numerus) {
            ++counted;
            QVERIFY2(xml.attributes().value(QLatin1String("type")).isEmpty(), qPrintable(source));
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(counted >= 5);
}

QTEST_MAIN(TestTranslation)
#include "test_translation.moc"

// Every text the reader shows while it fetches, from either source, reaches the status line translated: each
// operation is run against an address where nothing answers.
void TestTranslation::everyProgressTextOfTheReaderIsTranslated()
{
    MarkingTranslator marking;
    QCoreApplication::installTranslator(&marking);
    nimbreltest::MemoryKeeper keeper;
    nimbreltest::InfoLineRecorder info;
    WReader reader(&info);
    reader.SetKeeper(&keeper);
    for (const char *base : {"ConditionsBase", "WarningsBase", "ApiBase"})
        keeper.SetString("Internet", base, "http://127.0.0.1:9/", false);
    const WLocation place = nimbreltest::readerPlace("ia", "acode(KDMX) azone(IAZ086) alat(41.59) alon(-93.62)");
    WCondition condition;
    reader.getCondition(place, condition);
    for (std::uint32_t source : {0u, 1u}) {
        keeper.SetInt("Internet", "ProductSource", source, false);
        for (auto operation : {&WReader::getForecast, &WReader::getWarnings, &WReader::getWatches,
                 &WReader::getStatements, &WReader::getDiscussion, &WReader::getSummary, &WReader::getPublic}) {
            corekit::LString text;
            (reader.*operation)(place, text);
        }
    }
    QVERIFY(info.calls.size() >= 16);
    for (const std::string &call : info.calls) {
        if (call != "<clear>")
            QVERIFY2(progressWords(QString::fromStdString(call)).startsWith(u'['), call.c_str());
    }
    QCoreApplication::removeTranslator(&marking);
}
