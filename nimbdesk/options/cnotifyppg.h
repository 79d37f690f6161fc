#pragma once

#include "nimbdesk/options/ccheckboxpage.h"

#include <memory>

class QComboBox;
class QLabel;
class QSpinBox;

namespace nimbdesk
{

class CEventList;
class LSpeechDispatcher;

// The "Notifications" page, section "Notify": which alerts pop a desktop notification -- by kind ("Notify me of"),
// by least severity and by event (the muted ones) --, the sound the desktop plays for each severity, and sending
// the gravest again until seen, and speaking the grave ones; and how often the alerts are checked between updates.
class CNotifyPpg : public CCheckBoxPage
{
    Q_OBJECT

public:
    explicit CNotifyPpg(corekit::LKeeper *keeper, QWidget *parent = nullptr);
    ~CNotifyPpg() override;

    QString caption() const override;

protected:
    void load() override;
    void store() override;

private:
    QWidget *checkGroup();
    QWidget *kindsGroup();
    QWidget *soundGroup();
    void checkSpeech(bool wanted);
    void tellSpeechFailure(const QString &reason);

    QComboBox *m_severity;
    QSpinBox *m_checkMinutes;
    QComboBox *m_alertArea;
    QLabel *m_checkNote;
    CEventList *m_events;
    QLabel *m_speechNote;
    std::unique_ptr<LSpeechDispatcher> m_speech;
};

} // namespace nimbdesk
