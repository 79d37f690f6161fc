#pragma once

class QCoreApplication;

namespace nimbdesk
{

// Installs the program's English translation into the application, which gives the texts counted with "%n" their
// plural forms ("1 more alert", "2 more alerts"): without it Qt shows the source text, which has one form only.
// The translation is built into the program; false only when it is missing from the build.
bool installTranslation(QCoreApplication &application);

} // namespace nimbdesk
