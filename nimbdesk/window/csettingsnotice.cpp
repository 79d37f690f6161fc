#include "nimbdesk/window/csettingsnotice.h"

#include <QFile>
#include <QLabel>
#include <QWidget>

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

namespace
{

QString fromPath(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString fromText(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "the setting Location/City", or the settings as a whole.
QString settingName(const std::string &section, const std::string &key)
{
    if (section.empty() || key.empty())
        return CSettingsNotice::tr("its settings");
    return CSettingsNotice::tr("the setting %1/%2").arg(fromText(section), fromText(key));
}

} // namespace

CSettingsNotice::CSettingsNotice(QWidget *window, QLabel *status)
    : QObject(window)
    , m_window(window)
    , m_status(status)
{
}

void CSettingsNotice::NotSaved(const std::string &file, const std::string &section, const std::string &key,
    const std::string &reason, LSettingsFailure failure)
{
    m_status->setText(tr("Settings not saved: %1 (%2)").arg(fromText(reason), fromPath(file)));
    if (m_toldNotSaved)
        return;
    m_toldNotSaved = true;
    tell(QMessageBox::Warning,
        tr("Nimbrel cannot save %1 in\n%2\n\nReason: %3.\n\nWhat you choose stays in effect until Nimbrel ends, "
           "and is lost then. %4")
            .arg(settingName(section, key), fromPath(file), fromText(reason), advice(failure)));
}

QString CSettingsNotice::advice(LSettingsFailure failure)
{
    switch (failure) {
    case LSettingsFailure::DiskFull:
        return tr("The disk that holds that folder is full: make room on it, or start Nimbrel with --settings-dir "
                  "naming a folder on another disk.");
    case LSettingsFailure::Locked:
        return tr("Another program keeps the settings file locked, perhaps a Nimbrel that no longer responds: end "
                  "it, then choose again.");
    case LSettingsFailure::Unwritable:
        break;
    }
    return tr("Make that folder writable, or start Nimbrel with --settings-dir naming a folder it can write to.");
}

void CSettingsNotice::Repaired(const std::string &file, const std::string &dropped, const std::string &keptAs)
{
    m_status->setText(tr("Settings file mended: damaged lines left out or held to their range; the original is kept "
                         "as %1")
                          .arg(fromPath(keptAs)));
    tell(QMessageBox::Information,
        tr("The settings file\n%1\nwas damaged. These lines were left out, or their numbers held to what the "
           "options accept:\n%2\n\nEvery other setting was kept. The original file is kept as\n%3")
            .arg(fromPath(file), fromText(dropped), fromPath(keptAs)));
}

// The window is the box's parent only once it is shown: at start-up the box stands on its own.
void CSettingsNotice::tell(QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, QStringLiteral("Nimbrel"), text, QMessageBox::Ok, m_window->isVisible() ? m_window : nullptr);
    box.exec();
}

} // namespace nimbdesk
