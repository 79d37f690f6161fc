#pragma once

#include "nimbdesk/cpropertypage.h"

#include <array>

class QCheckBox;

// The "Retrieval" page, section "Special": which kinds of special message are fetched, one check box per key.
class CRetrievalPpg : public CPropertyPage
{
    Q_OBJECT

public:
    explicit CRetrievalPpg(LKeeper *keeper, QWidget *parent = nullptr);

    QString caption() const override;

protected:
    void load() override;
    void store() override;

private:
    static constexpr std::size_t BOX_COUNT = 6;
    std::array<QCheckBox *, BOX_COUNT> m_boxes{};
};
