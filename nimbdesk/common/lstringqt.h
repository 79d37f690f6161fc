#pragma once

#include "corekit/lstring.h"

#include <QString>

namespace nimbdesk
{

// Texts of the settings and of the location files are UTF-8 in an LString ("Cañon City"); Qt holds them as QString.
inline QString toQString(const corekit::LString &text)
{
    return QString::fromUtf8(static_cast<const char *>(text));
}

// A NUL inside the text would end the LString there; text typed into a widget holds none.
inline corekit::LString toLString(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return corekit::LString(bytes.constData(), static_cast<unsigned long>(bytes.size()));
}

} // namespace nimbdesk
