#include "nimbdesk/freshness/failurewords.h"

#include "corekit/lex.h"

#include <QCoreApplication>

using namespace corekit;
using namespace meteo;

namespace nimbdesk
{

namespace
{

// The title comes from the server: no control character of it reaches a widget.
QString cleaned(const std::string &text)
{
    QString out = QString::fromStdString(text);
    out.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return out.simplified();
}

// "the server reports \"Unexpected Problem\" (500)"; "not found (404)" where the server gives no title.
QString statusWords(const WFailure &failure)
{
    const QString title = cleaned(failure.text);
    if (!title.isEmpty()) {
        return QCoreApplication::translate("FailureWords", "the server reports \"%1\" (%2)")
            .arg(title)
            .arg(failure.httpStatus);
    }
    if (failure.kind == WFailure::Kind::NotFound)
        return QCoreApplication::translate("FailureWords", "not found (404)");
    return QCoreApplication::translate("FailureWords", "the server answered with status %1").arg(failure.httpStatus);
}

QString transferWords(const WFailure &failure)
{
    switch (failure.kind) {
    case WFailure::Kind::Connect:
        return QCoreApplication::translate("FailureWords", "cannot connect to server");
    case WFailure::Kind::HostNotFound:
        return QCoreApplication::translate("FailureWords", "host not found");
    case WFailure::Kind::TimedOut:
        return QCoreApplication::translate("FailureWords", "timed out");
    case WFailure::Kind::NotFound:
    case WFailure::Kind::Status:
        return statusWords(failure);
    case WFailure::Kind::Aborted:
        return QCoreApplication::translate("FailureWords", "stopped");
    case WFailure::Kind::None:
    case WFailure::Kind::BadAnswer:
        break;
    }
    return QCoreApplication::translate("FailureWords", "the server's answer could not be read");
}

} // namespace

QString failureWords(int code, const WFailure &failure)
{
    switch (code) {
    case L_CONNECT:
        return transferWords(failure);
    case L_INPUT:
        return QCoreApplication::translate("FailureWords", "nothing for the place on the server");
    case L_DB:
        return QCoreApplication::translate("FailureWords", "the place has no weather station");
    case L_NOTFOUND:
        return QCoreApplication::translate("FailureWords", "the place has no forecast zone");
    case L_MEM:
        return QCoreApplication::translate("FailureWords", "out of memory");
    default:
        return QCoreApplication::translate("FailureWords", "the server's answer could not be read");
    }
}

} // namespace nimbdesk
