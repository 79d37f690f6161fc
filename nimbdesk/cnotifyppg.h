#pragma once

#include "nimbdesk/cpropertypage.h"

#include <array>

class QCheckBox;

// The "Notifications" page, section "Notify": which kinds of alert pop a desktop notification ("Notify me of"),
// and whether severe and extreme ones ask the desktop for a sound.
class CNotifyPpg : public CPropertyPage
{
    Q_OBJECT

public:
    explicit CNotifyPpg(LKeeper *keeper, QWidget *parent = nullptr);

    QString caption() const override;

protected:
    void load() override;
    void store() override;

private:
    static constexpr std::size_t BOX_COUNT = 5;
    std::array<QCheckBox *, BOX_COUNT> m_boxes{};
};
