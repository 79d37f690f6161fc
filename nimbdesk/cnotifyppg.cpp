#include "nimbdesk/cnotifyppg.h"

#include "settings/lsettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace
{

struct Box {
    const char *key;
    const char *text;
    std::uint32_t fallback;
};

// In the order the page shows and stores them; the last stands below the group.
constexpr Box BOXES[] = {
    {LSettings::NOTIFY_WARNINGS, QT_TRANSLATE_NOOP("CNotifyPpg", "Warnings"), 1},
    {LSettings::NOTIFY_WATCHES, QT_TRANSLATE_NOOP("CNotifyPpg", "Watches"), 1},
    {LSettings::NOTIFY_STATEMENTS, QT_TRANSLATE_NOOP("CNotifyPpg", "Statements"), 0},
    {LSettings::NOTIFY_OTHERS, QT_TRANSLATE_NOOP("CNotifyPpg", "Advisories and other alerts"), 0},
    {LSettings::NOTIFY_SOUND, QT_TRANSLATE_NOOP("CNotifyPpg", "Play a sound for severe and extreme alerts"), 0},
};

} // namespace

CNotifyPpg::CNotifyPpg(LKeeper *keeper, QWidget *parent)
    : CPropertyPage(keeper, parent)
{
    static_assert(std::size(BOXES) == BOX_COUNT);
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(tr("Notify me of"), this);
    auto *kinds = new QVBoxLayout(group);
    layout->addWidget(group);
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const bool inGroup = i + 1 < m_boxes.size();
        m_boxes[i] = new QCheckBox(tr(BOXES[i].text), inGroup ? static_cast<QWidget *>(group) : this);
        m_boxes[i]->setObjectName(QLatin1String(BOXES[i].key));
        connect(m_boxes[i], &QCheckBox::toggled, this, [this] { setModified(); });
        (inGroup ? kinds : layout)->addWidget(m_boxes[i]);
    }
    layout->addStretch();
}

QString CNotifyPpg::caption() const
{
    return tr("Notifications");
}

void CNotifyPpg::load()
{
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setChecked(readInt(LSettings::NOTIFY, BOXES[i].key, BOXES[i].fallback) != 0);
}

void CNotifyPpg::store()
{
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        writeInt(LSettings::NOTIFY, BOXES[i].key, m_boxes[i]->isChecked() ? 1 : 0);
}
