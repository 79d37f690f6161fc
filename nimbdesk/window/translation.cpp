#include "nimbdesk/window/translation.h"

#include <QCoreApplication>
#include <QTranslator>

namespace nimbdesk
{

bool installTranslation(QCoreApplication &application)
{
    auto *translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral(":/i18n/nimbrel_en.qm")) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace nimbdesk
