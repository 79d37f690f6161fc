#pragma once

#include "settings/lwinkeeper.h"

#include <QMessageBox>
#include <QObject>
#include <QString>

#include <string>

class QLabel;
class QWidget;

namespace nimbdesk
{

// Tells the person in the window what became of the settings file, since someone who starts the program from the
// menu never sees its standard error. The first value that cannot be saved brings a message box (what, where, why,
// what to do about it, and that the choices last only until the program ends); each one shows on the status line. A
// damaged file that was mended brings a message box naming the lines left out or held to their range, and where the
// original is kept.
class CSettingsNotice : public QObject, public settings::LSettingsListener
{
    Q_OBJECT

public:
    // Neither the window (the boxes' parent while it is shown) nor the status line is owned.
    CSettingsNotice(QWidget *window, QLabel *status);

    void NotSaved(const std::string &file, const std::string &section, const std::string &key,
        const std::string &reason, settings::LSettingsFailure failure) override;
    void Repaired(const std::string &file, const std::string &dropped, const std::string &keptAs) override;

private:
    static QString advice(settings::LSettingsFailure failure);
    void tell(QMessageBox::Icon icon, const QString &text);

    QWidget *m_window;
    QLabel *m_status;
    bool m_toldNotSaved = false;
};

} // namespace nimbdesk
