#include "nimbdesk/forecast/skypicture.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

namespace nimbdesk
{

namespace
{

// The parts a picture is made of, drawn in a square of 100 by 100 units.
enum class Light { None, Full, Peek };
enum class Cover { None, Small, Large };
enum class Fall { None, Rain, Snow, Mix, Storm };
enum class Extra { None, Fog, Hot, Cold, Funnel, Spiral };

struct Picture {
    std::string_view kind;
    Light light;
    Cover cover;
    Fall fall;
    Extra extra;
};

// The kinds the service names in its icon addresses; "wind_" before a sky kind adds the wind's strokes.
constexpr std::array<Picture, 27> PICTURES{{
    {"skc", Light::Full, Cover::None, Fall::None, Extra::None},
    {"few", Light::Full, Cover::Small, Fall::None, Extra::None},
    {"sct", Light::Peek, Cover::Small, Fall::None, Extra::None},
    {"bkn", Light::Peek, Cover::Large, Fall::None, Extra::None},
    {"ovc", Light::None, Cover::Large, Fall::None, Extra::None},
    {"rain", Light::None, Cover::Large, Fall::Rain, Extra::None},
    {"rain_showers", Light::Peek, Cover::Large, Fall::Rain, Extra::None},
    {"rain_showers_hi", Light::Peek, Cover::Large, Fall::Rain, Extra::None},
    {"tsra", Light::None, Cover::Large, Fall::Storm, Extra::None},
    {"tsra_sct", Light::Peek, Cover::Large, Fall::Storm, Extra::None},
    {"tsra_hi", Light::Peek, Cover::Large, Fall::Storm, Extra::None},
    {"snow", Light::None, Cover::Large, Fall::Snow, Extra::None},
    {"blizzard", Light::None, Cover::Large, Fall::Snow, Extra::None},
    {"rain_snow", Light::None, Cover::Large, Fall::Mix, Extra::None},
    {"rain_sleet", Light::None, Cover::Large, Fall::Mix, Extra::None},
    {"snow_sleet", Light::None, Cover::Large, Fall::Mix, Extra::None},
    {"sleet", Light::None, Cover::Large, Fall::Mix, Extra::None},
    {"fzra", Light::None, Cover::Large, Fall::Mix, Extra::None},
    {"rain_fzra", Light::None, Cover::Large, Fall::Mix, Extra::None},
    {"snow_fzra", Light::None, Cover::Large, Fall::Mix, Extra::None},
    {"fog", Light::None, Cover::None, Fall::None, Extra::Fog},
    {"haze", Light::Peek, Cover::None, Fall::None, Extra::Fog},
    {"smoke", Light::None, Cover::None, Fall::None, Extra::Fog},
    {"dust", Light::None, Cover::None, Fall::None, Extra::Fog},
    {"hot", Light::Full, Cover::None, Fall::None, Extra::Hot},
    {"cold", Light::None, Cover::None, Fall::None, Extra::Cold},
    {"tornado", Light::None, Cover::Large, Fall::None, Extra::Funnel},
}};

constexpr Picture UNKNOWN{"", Light::None, Cover::Large, Fall::None, Extra::None};
constexpr Picture STORM{"hurricane", Light::None, Cover::None, Fall::None, Extra::Spiral};
constexpr std::string_view WIND_PREFIX = "wind_";

Picture pictureOf(std::string_view kind)
{
    if (kind == "hurricane" || kind == "tropical_storm")
        return STORM;
    for (const Picture &picture : PICTURES) {
        if (picture.kind == kind)
            return picture;
    }
    return UNKNOWN;
}

QPen stroke(const QColor &color, qreal width)
{
    QPen pen(color, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void drawSun(QPainter &painter, QPointF centre, qreal radius, const SkyColors &colors)
{
    painter.setPen(stroke(colors.sun, radius * 0.22));
    for (int ray = 0; ray < 8; ++ray) {
        const qreal angle = ray * std::numbers::pi / 4;
        const QPointF way(std::cos(angle), std::sin(angle));
        painter.drawLine(centre + way * radius * 1.35, centre + way * radius * 1.8);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors.sun);
    painter.drawEllipse(centre, radius, radius);
}

void drawMoon(QPainter &painter, QPointF centre, qreal radius, const SkyColors &colors)
{
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    QPainterPath shadow;
    shadow.addEllipse(centre + QPointF(radius * 0.55, -radius * 0.35), radius * 0.85, radius * 0.85);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors.moon);
    painter.drawPath(disc.subtracted(shadow));
}

void drawLight(QPainter &painter, Light light, bool daytime, const SkyColors &colors)
{
    if (light == Light::None)
        return;
    const QPointF centre = light == Light::Full ? QPointF(50, 48) : QPointF(34, 30);
    const qreal radius = light == Light::Full ? 20 : 14;
    if (daytime)
        drawSun(painter, centre, radius, colors);
    else
        drawMoon(painter, centre, radius * 1.2, colors);
}

// A cloud of three puffs on a flat base, scaled about its own centre.
void drawCloud(QPainter &painter, Cover cover, const SkyColors &colors)
{
    if (cover == Cover::None)
        return;
    painter.save();
    if (cover == Cover::Small) {
        painter.translate(62, 62);
        painter.scale(0.6, 0.6);
        painter.translate(-50, -50);
    }
    QPainterPath cloud;
    cloud.addRoundedRect(QRectF(14, 46, 72, 24), 12, 12);
    cloud.addEllipse(QPointF(34, 48), 15, 15);
    cloud.addEllipse(QPointF(55, 40), 20, 20);
    cloud.addEllipse(QPointF(73, 52), 12, 12);
    painter.setPen(stroke(colors.cloudEdge, 3));
    painter.setBrush(colors.cloud);
    painter.drawPath(cloud.simplified());
    painter.restore();
}

void drawDrop(QPainter &painter, QPointF top, const SkyColors &colors)
{
    painter.setPen(stroke(colors.rain, 5));
    painter.drawLine(top, top + QPointF(-5, 14));
}

void drawFlake(QPainter &painter, QPointF centre, const SkyColors &colors)
{
    painter.setPen(stroke(colors.snow, 3));
    for (int arm = 0; arm < 3; ++arm) {
        const qreal angle = arm * std::numbers::pi / 3;
        const QPointF way(std::cos(angle) * 7, std::sin(angle) * 7);
        painter.drawLine(centre - way, centre + way);
    }
}

void drawBolt(QPainter &painter, const SkyColors &colors)
{
    const QPolygonF bolt{{52, 60}, {40, 80}, {50, 80}, {44, 97}, {64, 73}, {53, 73}, {60, 60}};
    painter.setPen(stroke(colors.bolt.darker(130), 2));
    painter.setBrush(colors.bolt);
    painter.drawPolygon(bolt);
}

void drawFall(QPainter &painter, Fall fall, const SkyColors &colors)
{
    constexpr std::array<QPointF, 3> SPOTS{{{30, 78}, {50, 82}, {70, 78}}};
    for (std::size_t index = 0; index < SPOTS.size(); ++index) {
        const bool flake = fall == Fall::Snow || (fall == Fall::Mix && index % 2 == 1);
        if (fall == Fall::None || (fall == Fall::Storm && index == 1))
            continue;
        if (flake)
            drawFlake(painter, SPOTS[index] + QPointF(0, 5), colors);
        else
            drawDrop(painter, SPOTS[index], colors);
    }
    if (fall == Fall::Storm)
        drawBolt(painter, colors);
}

void drawThermometer(QPainter &painter, const QColor &colour, const SkyColors &colors)
{
    painter.setPen(stroke(colors.cloudEdge, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(72, 48, 12, 36), 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(78, 86), 9, 9);
    painter.drawRect(QRectF(75, 60, 6, 26));
}

void drawLines(QPainter &painter, const QColor &colour, qreal top, int count)
{
    painter.setPen(stroke(colour, 5));
    for (int line = 0; line < count; ++line) {
        const qreal y = top + line * 11;
        const qreal indent = line % 2 == 0 ? 0 : 10;
        painter.drawLine(QPointF(14 + indent, y), QPointF(86 - 10 + indent, y));
    }
}

void drawWind(QPainter &painter, const SkyColors &colors)
{
    painter.setPen(stroke(colors.haze, 4));
    painter.setBrush(Qt::NoBrush);
    for (int line = 0; line < 3; ++line) {
        QPainterPath gust(QPointF(4, 22 + line * 12));
        gust.cubicTo(QPointF(20, 16 + line * 12), QPointF(30, 28 + line * 12), QPointF(44 - line * 6, 22 + line * 12));
        painter.drawPath(gust);
    }
}

void drawFunnel(QPainter &painter, const SkyColors &colors)
{
    painter.setPen(stroke(colors.cloudEdge, 5));
    for (int line = 0; line < 4; ++line) {
        const qreal half = 22 - line * 5;
        const qreal centre = 50 + line * 3;
        painter.drawLine(QPointF(centre - half, 70 + line * 8), QPointF(centre + half, 70 + line * 8));
    }
}

void drawSpiral(QPainter &painter, const SkyColors &colors)
{
    painter.setPen(stroke(colors.cloudEdge, 7));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(22, 22, 56, 56), 30 * 16, 120 * 16);
    painter.drawArc(QRectF(22, 22, 56, 56), 210 * 16, 120 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors.cloudEdge);
    painter.drawEllipse(QPointF(50, 50), 10, 10);
}

void drawExtra(QPainter &painter, Extra extra, const SkyColors &colors)
{
    switch (extra) {
    case Extra::Fog:
        drawLines(painter, colors.haze, 62, 3);
        break;
    case Extra::Hot:
        drawThermometer(painter, colors.hot, colors);
        break;
    case Extra::Cold:
        drawThermometer(painter, colors.cold, colors);
        drawFlake(painter, QPointF(38, 50), colors);
        break;
    case Extra::Funnel:
        drawFunnel(painter, colors);
        break;
    case Extra::Spiral:
        drawSpiral(painter, colors);
        break;
    case Extra::None:
        break;
    }
}

} // namespace

SkyColors SkyColors::of(const QPalette &palette)
{
    if (palette.color(QPalette::Window).lightness() < 128)
        return {QColor(0xFF, 0xC4, 0x3D), QColor(0xEE, 0xE8, 0xC8), QColor(0x7A, 0x84, 0x92), QColor(0xB8, 0xC0, 0xCC),
            QColor(0x5C, 0xAE, 0xFF), QColor(0xCF, 0xE8, 0xFF), QColor(0xFF, 0xD4, 0x00), QColor(0x9A, 0xA2, 0xAE),
            QColor(0xFF, 0x6A, 0x4D), QColor(0x6C, 0xC4, 0xFF)};
    return {QColor(0xF2, 0xA9, 0x00), QColor(0x7D, 0x86, 0xA6), QColor(0xDC, 0xE2, 0xEA), QColor(0x7E, 0x8A, 0x99),
        QColor(0x1F, 0x6F, 0xD6), QColor(0x3C, 0x8D, 0xD8), QColor(0xF5, 0xB8, 0x00), QColor(0x8A, 0x93, 0xA0),
        QColor(0xD8, 0x3A, 0x1E), QColor(0x1C, 0x7E, 0xD0)};
}

void drawSkyPicture(
    QPainter &painter, const QRectF &area, const std::string &sky, bool daytime, const SkyColors &colors)
{
    const bool windy = sky.starts_with(WIND_PREFIX);
    const Picture picture = pictureOf(windy ? std::string_view(sky).substr(WIND_PREFIX.size()) : sky);
    const qreal side = std::min(area.width(), area.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(area.center() - QPointF(side / 2, side / 2));
    painter.scale(side / 100, side / 100);
    drawLight(painter, picture.light, daytime, colors);
    drawCloud(painter, picture.cover, colors);
    drawFall(painter, picture.fall, colors);
    drawExtra(painter, picture.extra, colors);
    if (windy || sky == "blizzard")
        drawWind(painter, colors);
    painter.restore();
}

} // namespace nimbdesk
