#include "nimbdesk/cretrievalppg.h"

#include "settings/lsettings.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace
{

struct Box {
    const char *key;
    const char *text;
    // Only warnings are fetched until the user asks for more.
    std::uint32_t fallback;
};

// In the order the page shows and stores them.
constexpr Box BOXES[] = {
    {LSettings::SHOW_DISCUSSION, QT_TRANSLATE_NOOP("CRetrievalPpg", "Forecast discussion"), 0},
    {LSettings::SHOW_SUMMARY, QT_TRANSLATE_NOOP("CRetrievalPpg", "Weather summary"), 0},
    {LSettings::SHOW_PUBLIC, QT_TRANSLATE_NOOP("CRetrievalPpg", "Public Information"), 0},
    {LSettings::SHOW_WATCHES, QT_TRANSLATE_NOOP("CRetrievalPpg", "Watches"), 0},
    {LSettings::SHOW_STATEMENTS, QT_TRANSLATE_NOOP("CRetrievalPpg", "Special statements"), 0},
    {LSettings::SHOW_WARNINGS, QT_TRANSLATE_NOOP("CRetrievalPpg", "Warnings and advisories"), 1},
};

} // namespace

CRetrievalPpg::CRetrievalPpg(LKeeper *keeper, QWidget *parent)
    : CPropertyPage(keeper, parent)
{
    static_assert(std::size(BOXES) == BOX_COUNT);
    auto *layout = new QVBoxLayout(this);
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i] = new QCheckBox(tr(BOXES[i].text), this);
        m_boxes[i]->setObjectName(QLatin1String(BOXES[i].key));
        connect(m_boxes[i], &QCheckBox::toggled, this, [this] { setModified(); });
        layout->addWidget(m_boxes[i]);
    }
    layout->addStretch();
}

QString CRetrievalPpg::caption() const
{
    return tr("Retrieval");
}

void CRetrievalPpg::load()
{
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setChecked(readInt(LSettings::SPECIAL, BOXES[i].key, BOXES[i].fallback) != 0);
}

void CRetrievalPpg::store()
{
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        writeInt(LSettings::SPECIAL, BOXES[i].key, m_boxes[i]->isChecked() ? 1 : 0);
}
