#pragma once

#include "nimbdesk/options/ccheckboxpage.h"

// The "Notifications" page, section "Notify": which kinds of alert pop a desktop notification ("Notify me of"),
// and whether severe and extreme ones ask the desktop for a sound.
class CNotifyPpg : public CCheckBoxPage
{
    Q_OBJECT

public:
    explicit CNotifyPpg(LKeeper *keeper, QWidget *parent = nullptr);

    QString caption() const override;
};
