#include "nimbdesk/options/cautostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace nimbdesk
{

namespace
{

// The base directory rules ignore a relative XDG_CONFIG_HOME.
QString configHome()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

// Exec keys double a '%'; they quote an argument holding a blank or a reserved character, and escape '"', '`', '$'
// and '\' inside the quotes: "/opt/my apps/nimbdesk" is written "\"/opt/my apps/nimbdesk\"".
QString execArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted = argument;
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (std::none_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); }))
        return quoted;
    for (const char *special : {"\\", "\"", "`", "$"})
        quoted.replace(QLatin1String(special), QLatin1Char('\\') + QLatin1String(special));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// What the entry starts: the program, hidden in the tray.
QByteArray entryText(const QString &program)
{
    const QString exec = execArgument(program) + QLatin1Char(' ') + QLatin1String(CAutostart::MINIMIZED_OPTION);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Nimbrel\n"
                          "Comment=Current weather, forecast and warnings for a place in the United States\n"
                          "Exec=%1\n"
                          "Icon=nimbrel\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec)
        .toUtf8();
}

} // namespace

QString CAutostart::entryPath()
{
    return configHome() + QStringLiteral("/autostart/nimbrel.desktop");
}

bool CAutostart::isEnabled()
{
    return QFileInfo::exists(entryPath());
}

QString CAutostart::enable(const QString &program)
{
    const QString path = entryPath();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return tr("The folder %1 cannot be created.").arg(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entryText(program)) < 0 || !file.commit())
        return tr("%1 cannot be written: %2").arg(path, file.errorString());
    return QString();
}

QString CAutostart::disable()
{
    QFile file(entryPath());
    if (!file.exists() || file.remove())
        return QString();
    return tr("%1 cannot be removed: %2").arg(file.fileName(), file.errorString());
}

} // namespace nimbdesk
