// The English translation built into the program: loaded at start, it gives counted texts their plural forms; and
// every counted text of the program has its forms in it.
#include "nimbdesk/alerts/calertnotifier.h"
#include "nimbdesk/freshness/timetext.h"
#include "nimbdesk/window/translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QXmlStreamReader>

using namespace nimbdesk;

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void countedTextsHaveTheirPluralForms();
    void everyCountedTextIsTranslated();
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
