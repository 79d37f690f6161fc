#include "nimbdesk/options/cnotifyppg.h"

#include "settings/lsettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace
{

// In the order the page shows and stores them: the kinds of alert, then the sound.
constexpr CCheckBoxPage::Box BOXES[] = {
    {LSettings::NOTIFY_WARNINGS, QT_TRANSLATE_NOOP("CNotifyPpg", "Warnings"), 1},
    {LSettings::NOTIFY_WATCHES, QT_TRANSLATE_NOOP("CNotifyPpg", "Watches"), 1},
    {LSettings::NOTIFY_STATEMENTS, QT_TRANSLATE_NOOP("CNotifyPpg", "Statements"), 0},
    {LSettings::NOTIFY_OTHERS, QT_TRANSLATE_NOOP("CNotifyPpg", "Advisories and other alerts"), 0},
    {LSettings::NOTIFY_SOUND, QT_TRANSLATE_NOOP("CNotifyPpg", "Play a sound for severe and extreme alerts"), 0},
};

} // namespace

CNotifyPpg::CNotifyPpg(LKeeper *keeper, QWidget *parent)
    : CCheckBoxPage(keeper, LSettings::NOTIFY, BOXES, "CNotifyPpg", parent)
{
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(tr("Notify me of"), this);
    auto *kinds = new QVBoxLayout(group);
    for (std::size_t i = 0; i + 1 < boxCount(); ++i)
        kinds->addWidget(box(i));
    layout->addWidget(group);
    layout->addWidget(box(boxCount() - 1));
    layout->addStretch();
}

QString CNotifyPpg::caption() const
{
    return tr("Notifications");
}
