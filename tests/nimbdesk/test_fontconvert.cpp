#include "nimbdesk/common/fontconvert.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

#include <algorithm>
#include <cstring>

using namespace corekit;
using namespace settings;
using namespace nimbdesk;

namespace
{

constexpr int SCREEN_96 = 96;
constexpr int SCREEN_120 = 120;

QByteArray bytesOf(const LFontRecord &record)
{
    const LBinary binary = record.toBinary();
    return QByteArray(reinterpret_cast<const char *>(binary.data()), static_cast<qsizetype>(binary.size()));
}

LFontRecord withFace(const char *face)
{
    LFontRecord record = LFontRecord::standard();
    std::memset(record.faceName, 0, LFontRecord::FACE_SIZE);
    std::memcpy(record.faceName, face, std::min(std::strlen(face), LFontRecord::FACE_SIZE));
    return record;
}

// Fields that QFont has no place for, all set away from their usual values.
LFontRecord unusual()
{
    LFontRecord record = withFace("Cañon Grotesk");
    record.height = 20; // positive: the cell height, not the character height
    record.width = 7;
    record.escapement = 900;
    record.orientation = 450;
    record.weight = 0;
    record.italic = 0xFF;
    record.charSet = 2;
    record.outPrecision = 3;
    record.clipPrecision = 4;
    record.quality = 5;
    record.pitchAndFamily = 0x31;
    return record;
}

} // namespace

class TestFontConvert : public QObject
{
    Q_OBJECT

private slots:
    void pointSizeRoundsHalfUp();
    void roundTripKeepsEveryByte();
    void changesOverwriteOnlyWhatQFontHolds();
    void faceCutOnCharacterBoundary();
    void missingFaceIsSubstituted();
};

void TestFontConvert::pointSizeRoundsHalfUp()
{
    LFontRecord record = LFontRecord::standard();
    QCOMPARE(recordPointSize(record, SCREEN_96), 10); // 9.75
    QCOMPARE(fontDescription(record, SCREEN_96), QStringLiteral("MS Sans Serif, 10"));
    QCOMPARE(recordPointSize(record, SCREEN_120), 8); // 7.8
    record.height = -14;
    QCOMPARE(recordPointSize(record, SCREEN_96), 11); // 10.5
    record.height = 14;
    QCOMPARE(recordPointSize(record, SCREEN_96), 11);
    record.height = -12;
    QCOMPARE(recordPointSize(record, SCREEN_96), 9);
    QCOMPARE(fontFromRecord(record, SCREEN_96).pointSize(), 9);
}

void TestFontConvert::roundTripKeepsEveryByte()
{
    for (const LFontRecord &original : {LFontRecord::standard(), unusual()}) {
        for (int screen : {SCREEN_96, SCREEN_120}) {
            LFontRecord record = original;
            applyFontToRecord(fontFromRecord(original, screen), screen, record);
            QCOMPARE(bytesOf(record), bytesOf(original));
        }
    }
    const QFont font = fontFromRecord(unusual(), SCREEN_96);
    QCOMPARE(font.family(), QStringLiteral("Cañon Grotesk"));
    QVERIFY(font.italic());
    QCOMPARE(font.pointSize(), 15);
    QCOMPARE(font.styleHint(), QFont::TypeWriter);
}

void TestFontConvert::changesOverwriteOnlyWhatQFontHolds()
{
    const LFontRecord original = unusual();
    QFont font = fontFromRecord(original, SCREEN_96);
    font.setFamily(QStringLiteral("DejaVu Serif"));
    font.setPointSize(12);
    font.setWeight(QFont::Bold);
    font.setItalic(false);
    font.setUnderline(true);
    font.setStrikeOut(true);
    LFontRecord record = original;
    applyFontToRecord(font, SCREEN_96, record);

    QCOMPARE(record.face(), LString("DejaVu Serif"));
    QCOMPARE(record.height, -16);
    QCOMPARE(record.weight, 700);
    QCOMPARE(record.italic, std::uint8_t{0});
    QCOMPARE(record.underline, std::uint8_t{1});
    QCOMPARE(record.strikeOut, std::uint8_t{1});
    LFontRecord kept = record;
    std::memcpy(kept.faceName, original.faceName, LFontRecord::FACE_SIZE);
    kept.height = original.height;
    kept.weight = original.weight;
    kept.italic = original.italic;
    kept.underline = original.underline;
    kept.strikeOut = original.strikeOut;
    QCOMPARE(bytesOf(kept), bytesOf(original));

    font.setPixelSize(20);
    applyFontToRecord(font, SCREEN_96, record);
    QCOMPARE(record.height, -20);
}

void TestFontConvert::faceCutOnCharacterBoundary()
{
    const QString thirty = QString(30, QLatin1Char('a'));
    const std::pair<QString, QByteArray> faces[] = {
        {thirty + QLatin1Char('b'), (thirty + QLatin1Char('b')).toLatin1()},
        {thirty + QStringLiteral("bcdefgh"), (thirty + QLatin1Char('b')).toLatin1()},
        {thirty + QStringLiteral("é"), thirty.toLatin1()}, // é is 2 bytes: only its first would fit
        {thirty.left(29) + QStringLiteral("€"), thirty.left(29).toLatin1()}, // 3 bytes, two would fit
        {thirty.left(28) + QStringLiteral("€"), (thirty.left(28) + QStringLiteral("€")).toUtf8()}, // 31 bytes
    };
    for (const auto &[family, stored] : faces) {
        LFontRecord record = LFontRecord::standard();
        QFont font;
        font.setFamily(family);
        applyFontToRecord(font, SCREEN_96, record);
        QCOMPARE(QByteArray(record.faceName, static_cast<qsizetype>(std::strlen(record.faceName))), stored);
        for (std::size_t i = static_cast<std::size_t>(stored.size()); i < LFontRecord::FACE_SIZE; ++i)
            QCOMPARE(record.faceName[i], '\0');
    }
}

// "MS Sans Serif" is not installed: the font keeps asking for it, and Qt draws with an installed sans-serif face.
void TestFontConvert::missingFaceIsSubstituted()
{
    QVERIFY(!QFontDatabase::families().contains(QStringLiteral("MS Sans Serif")));
    const QFont font = fontFromRecord(LFontRecord::standard(), SCREEN_96);
    QCOMPARE(font.family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(font.styleHint(), QFont::SansSerif);
    QCOMPARE(font.pointSize(), 10);
    QCOMPARE(font.weight(), QFont::Normal);
    QVERIFY(QFontDatabase::families().contains(QFontInfo(font).family()));
}

QTEST_MAIN(TestFontConvert)
#include "test_fontconvert.moc"
