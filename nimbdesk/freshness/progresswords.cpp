#include "nimbdesk/freshness/progresswords.h"

#include <QCoreApplication>

#include <array>

namespace nimbdesk
{

namespace
{

constexpr const char *CONTEXT = "ProgressWords";

// What the reader says it is getting: "Getting %s..." with one of these.
constexpr std::array<const char *, 8> FETCHED = {
    QT_TRANSLATE_NOOP("ProgressWords", "current conditions"),
    QT_TRANSLATE_NOOP("ProgressWords", "forecast"),
    QT_TRANSLATE_NOOP("ProgressWords", "warnings"),
    QT_TRANSLATE_NOOP("ProgressWords", "watches"),
    QT_TRANSLATE_NOOP("ProgressWords", "special statements"),
    QT_TRANSLATE_NOOP("ProgressWords", "weather discussion"),
    QT_TRANSLATE_NOOP("ProgressWords", "weather summary"),
    QT_TRANSLATE_NOOP("ProgressWords", "public messages"),
};

// The reader's other texts, whole.
constexpr std::array<const char *, 4> WHOLE = {
    QT_TRANSLATE_NOOP("ProgressWords", "Reading data from server..."),
    QT_TRANSLATE_NOOP("ProgressWords", "Error: cannot connect to server"),
    QT_TRANSLATE_NOOP("ProgressWords", "Error: cannot read the server's answer"),
    QT_TRANSLATE_NOOP("ProgressWords", "Error: cannot obtain conditions"),
};

const QString GETTING = QStringLiteral("Getting ");
const QString ELLIPSIS = QStringLiteral("...");

} // namespace

QString progressWords(const QString &english)
{
    for (const char *text : WHOLE) {
        if (english == QLatin1String(text))
            return QCoreApplication::translate(CONTEXT, text);
    }
    if (!english.startsWith(GETTING) || !english.endsWith(ELLIPSIS))
        return english;
    const QString what = english.mid(GETTING.size(), english.size() - GETTING.size() - ELLIPSIS.size());
    for (const char *text : FETCHED) {
        if (what == QLatin1String(text)) {
            //: The reader gets something from the weather service; %1 is what: "weather discussion".
            return QCoreApplication::translate(CONTEXT, "Getting %1...")
                .arg(QCoreApplication::translate(CONTEXT, text));
        }
    }
    return english;
}

} // namespace nimbdesk
