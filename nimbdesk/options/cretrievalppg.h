#pragma once

#include "nimbdesk/options/ccheckboxpage.h"

namespace nimbdesk
{

// The "Retrieval" page, section "Special": which kinds of special message are fetched, one check box per key.
class CRetrievalPpg : public CCheckBoxPage
{
    Q_OBJECT

public:
    explicit CRetrievalPpg(corekit::LKeeper *keeper, QWidget *parent = nullptr);

    QString caption() const override;
};

} // namespace nimbdesk
