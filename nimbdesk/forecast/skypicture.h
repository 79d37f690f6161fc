#pragma once

#include <QColor>
#include <QPalette>
#include <QRectF>

#include <string>

class QPainter;

namespace nimbdesk
{

// The colours of the forecast's pictures and chart on a light or a dark window.
struct SkyColors {
    QColor sun;
    QColor moon;
    QColor cloud;
    QColor cloudEdge;
    QColor rain;
    QColor snow;
    QColor bolt;
    QColor haze;
    QColor hot;
    QColor cold;

    // Dark when the palette's window is darker than middle grey.
    static SkyColors of(const QPalette &palette);
};

// Draws the picture of a forecast's sky kind ("skc", "tsra_sct", "rain_fzra", "wind_bkn", ...) into the square
// centred in area, with vector strokes only, so that it is as sharp at 200% as at 100%. The sun by day, the moon by
// night; an unknown or empty kind draws a plain cloud.
void drawSkyPicture(
    QPainter &painter, const QRectF &area, const std::string &sky, bool daytime, const SkyColors &colors);

} // namespace nimbdesk
