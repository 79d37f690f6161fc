#pragma once

#include "settings/lfontrecord.h"

#include <QFont>
#include <QString>

class QWidget;

namespace nimbdesk
{

// Font settings are 60-byte records (settings/lfontrecord.h); Qt draws with QFont. A QFont holds the face, the
// size, the weight, italic, underline and strike-out of a record; it has no place for the width, escapement,
// orientation, character set, precisions, quality or pitch and family, so those fields stay as the record has them
// whenever a font is written back into a record.

// The vertical logical pixels per inch of the widget's screen (of the primary screen without a widget): 96 on an
// unscaled screen. A record's height is in these pixels.
int screenPixelsPerInch(const QWidget *widget = nullptr);

// The record's size in whole points: a height of -13 at 96 pixels per inch is 9.75 points, shown as 10.
int recordPointSize(const settings::LFontRecord &record, int pixelsPerInch);

// What a font button shows: "MS Sans Serif, 10".
QString fontDescription(const settings::LFontRecord &record, int pixelsPerInch);

// The font a record asks for. Its family is the record's face even where no such face is installed ("MS Sans
// Serif"): Qt then draws with a substitute of the record's family kind (Swiss: a sans-serif face).
QFont fontFromRecord(const settings::LFontRecord &record, int pixelsPerInch);

// Writes into the record each field that the font holds differently from fontFromRecord(record): a record taken
// through a QFont and back unchanged keeps every byte. A changed size becomes a negative (character) height; a face
// of more than 31 bytes in UTF-8 is cut before the character that does not fit.
void applyFontToRecord(const QFont &font, int pixelsPerInch, settings::LFontRecord &record);

} // namespace nimbdesk
