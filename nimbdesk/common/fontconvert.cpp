#include "nimbdesk/common/fontconvert.h"

#include "nimbdesk/common/lstringqt.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

namespace
{

constexpr int DEFAULT_PIXELS_PER_INCH = 96;
constexpr double POINTS_PER_INCH = 72.0;

// The family kind sits in the high nibble of pitchAndFamily: 0x22 is variable pitch (2), Swiss family (0x20).
QFont::StyleHint styleHintOf(std::uint8_t pitchAndFamily)
{
    switch (pitchAndFamily & 0xF0u) {
    case 0x10u:
        return QFont::Serif;
    case 0x20u:
        return QFont::SansSerif;
    case 0x30u:
        return QFont::TypeWriter;
    case 0x40u:
        return QFont::Cursive;
    case 0x50u:
        return QFont::Decorative;
    default:
        return QFont::AnyStyle;
    }
}

QString faceOf(const LFontRecord &record)
{
    return toQString(record.face());
}

void setFace(const QString &family, LFontRecord &record)
{
    const QByteArray bytes = family.toUtf8();
    auto count = std::min<qsizetype>(bytes.size(), LFontRecord::FACE_SIZE - 1);
    // A UTF-8 continuation byte (10xxxxxx) right after the cut means the cut splits a character.
    while (count > 0 && count < bytes.size() && (static_cast<unsigned char>(bytes[count]) & 0xC0u) == 0x80u)
        --count;
    std::memset(record.faceName, 0, LFontRecord::FACE_SIZE);
    std::memcpy(record.faceName, bytes.constData(), static_cast<std::size_t>(count));
}

std::int32_t heightOf(const QFont &font, int pixelsPerInch)
{
    if (font.pixelSize() > 0)
        return -font.pixelSize();
    return -static_cast<std::int32_t>(std::lround(font.pointSizeF() * pixelsPerInch / POINTS_PER_INCH));
}

void setFlag(bool value, bool before, std::uint8_t &field)
{
    if (value != before)
        field = value ? 1 : 0;
}

} // namespace

int screenPixelsPerInch(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    const int pixelsPerInch = screen ? qRound(screen->logicalDotsPerInchY()) : 0;
    return pixelsPerInch > 0 ? pixelsPerInch : DEFAULT_PIXELS_PER_INCH;
}

int recordPointSize(const LFontRecord &record, int pixelsPerInch)
{
    const double points = std::abs(static_cast<double>(record.height)) * POINTS_PER_INCH / pixelsPerInch;
    return static_cast<int>(points + 0.5);
}

QString fontDescription(const LFontRecord &record, int pixelsPerInch)
{
    return QStringLiteral("%1, %2").arg(faceOf(record)).arg(recordPointSize(record, pixelsPerInch));
}

QFont fontFromRecord(const LFontRecord &record, int pixelsPerInch)
{
    QFont font;
    font.setFamily(faceOf(record));
    font.setStyleHint(styleHintOf(record.pitchAndFamily));
    // A height of 0 asks for the default size; the record's size 0 would be no size at all.
    if (record.height != 0)
        font.setPointSize(std::max(1, recordPointSize(record, pixelsPerInch)));
    // Weight 0 is "any weight"; the others share the scale of QFont::Weight (400 regular, 700 bold).
    if (record.weight != 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(record.weight, 1, 1000)));
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    return font;
}

void applyFontToRecord(const QFont &font, int pixelsPerInch, LFontRecord &record)
{
    const QFont before = fontFromRecord(record, pixelsPerInch);
    if (font.family() != before.family())
        setFace(font.family(), record);
    if (font.pointSizeF() != before.pointSizeF() || font.pixelSize() != before.pixelSize())
        record.height = heightOf(font, pixelsPerInch);
    if (font.weight() != before.weight())
        record.weight = font.weight();
    setFlag(font.italic(), before.italic(), record.italic);
    setFlag(font.underline(), before.underline(), record.underline);
    setFlag(font.strikeOut(), before.strikeOut(), record.strikeOut);
}

} // namespace nimbdesk
