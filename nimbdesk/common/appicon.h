#pragma once

#include <QIcon>

namespace nimbdesk
{

// The program's icon: a dark tile with a red dial and a white needle, drawn at the sizes window managers and menus
// ask for. nimbdesk/nimbrel.svg is the same picture for the desktop's menus.
QIcon applicationIcon();

} // namespace nimbdesk
