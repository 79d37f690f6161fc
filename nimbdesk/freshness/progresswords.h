#pragma once

#include <QString>

namespace nimbdesk
{

// The reader's progress as it tells it, in English ("Getting weather discussion...", "Error: cannot connect to
// server"), in the words of the person's language; a text it does not know stays as it came.
QString progressWords(const QString &english);

} // namespace nimbdesk
