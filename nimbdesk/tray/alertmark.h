#pragma once

#include <QColor>
#include <QIcon>

namespace nimbdesk
{

// The icon with a round mark in its upper right corner, in the colour of the gravest alert in force, holding their
// count ("2"; "9+" beyond nine), at the sizes trays ask for.
QIcon markedIcon(const QIcon &icon, int count, const QColor &color);

} // namespace nimbdesk
