#pragma once

#include <QColor>

#include <cstdint>

namespace nimbdesk
{

// Colours are stored as COLORREF values, 0x00BBGGRR: 255 (0x0000FF) is red, 65280 (0x00FF00) green. The top byte
// only says how a palette is used and carries no colour, so it is ignored.
inline QColor colorFromColorref(std::uint32_t colorref)
{
    return QColor(static_cast<int>(colorref & 0xFFu), static_cast<int>((colorref >> 8) & 0xFFu),
        static_cast<int>((colorref >> 16) & 0xFFu));
}

} // namespace nimbdesk
