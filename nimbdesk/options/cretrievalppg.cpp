#include "nimbdesk/options/cretrievalppg.h"

#include "settings/lsettings.h"

#include <QCheckBox>
#include <QVBoxLayout>

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

namespace
{

// In the order the page shows and stores them; only warnings are fetched until the user asks for more.
constexpr CCheckBoxPage::Box BOXES[] = {
    {LSettings::SHOW_DISCUSSION, QT_TRANSLATE_NOOP("CRetrievalPpg", "Forecast discussion"), 0},
    {LSettings::SHOW_SUMMARY, QT_TRANSLATE_NOOP("CRetrievalPpg", "Weather summary"), 0},
    {LSettings::SHOW_PUBLIC, QT_TRANSLATE_NOOP("CRetrievalPpg", "Public Information"), 0},
    {LSettings::SHOW_WATCHES, QT_TRANSLATE_NOOP("CRetrievalPpg", "Watches"), 0},
    {LSettings::SHOW_STATEMENTS, QT_TRANSLATE_NOOP("CRetrievalPpg", "Special statements"), 0},
    {LSettings::SHOW_WARNINGS, QT_TRANSLATE_NOOP("CRetrievalPpg", "Warnings and advisories"), 1},
};

} // namespace

CRetrievalPpg::CRetrievalPpg(LKeeper *keeper, QWidget *parent)
    : CCheckBoxPage(keeper, LSettings::SPECIAL, BOXES, "CRetrievalPpg", parent)
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
