#include "nimbdesk/options/cretrievalppg.h"

#include "settings/lmessagekind.h"
#include "settings/lsettings.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include <array>

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

namespace
{

// One box for each kind of special message, in the order the page shows and stores them.
std::span<const CCheckBoxPage::Box> boxes()
{
    static const std::array<CCheckBoxPage::Box, MESSAGE_KIND_COUNT> boxes = [] {
        std::array<CCheckBoxPage::Box, MESSAGE_KIND_COUNT> made{};
        for (std::size_t i = 0; i < made.size(); ++i) {
            const LMessageKindInfo &kind = messageKind(SETTINGS_ORDER[i]);
            made[i] = {kind.key, kind.title};
        }
        return made;
    }();
    return boxes;
}

} // namespace

CRetrievalPpg::CRetrievalPpg(LKeeper *keeper, QWidget *parent)
    : CCheckBoxPage(keeper, LSettings::SPECIAL, boxes(), "LMessageKind", parent)
{
    auto *layout = new QVBoxLayout(this);
    for (std::size_t i = 0; i < boxCount(); ++i)
        layout->addWidget(box(i));
    layout->addStretch();
}

QString CRetrievalPpg::caption() const
{
    return tr("Retrieval");
}

} // namespace nimbdesk
