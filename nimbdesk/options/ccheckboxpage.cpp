#include "nimbdesk/options/ccheckboxpage.h"

#include "settings/lsettings.h"

#include <QCheckBox>
#include <QCoreApplication>

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

CCheckBoxPage::CCheckBoxPage(
    LKeeper *keeper, const char *section, std::span<const Box> boxes, const char *context, QWidget *parent)
    : CPropertyPage(keeper, parent)
    , m_section(section)
    , m_boxes(boxes)
{
    for (const Box &entry : m_boxes) {
        auto *check = new QCheckBox(QCoreApplication::translate(context, entry.text), this);
        check->setObjectName(QLatin1String(entry.key));
        connect(check, &QCheckBox::toggled, this, [this] { setModified(); });
        m_checks.push_back(check);
    }
}

void CCheckBoxPage::load()
{
    for (std::size_t i = 0; i < m_checks.size(); ++i)
        m_checks[i]->setChecked(
            readInt(m_section, m_boxes[i].key, LSettings::DefaultOf(m_section, m_boxes[i].key)) != 0);
}

void CCheckBoxPage::store()
{
    for (std::size_t i = 0; i < m_checks.size(); ++i)
        writeInt(m_section, m_boxes[i].key, m_checks[i]->isChecked() ? 1 : 0);
}

} // namespace nimbdesk
