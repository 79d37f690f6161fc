#include "nimbdesk/options/cpropertypage.h"

#include "corekit/lex.h"
#include "corekit/lkeeper.h"
#include "nimbdesk/common/lstringqt.h"

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

// Every setting lives in the per-user store.
static constexpr bool PER_USER = false;

CPropertyPage::CPropertyPage(LKeeper *keeper, QWidget *parent)
    : QWidget(parent)
    , m_keeper(keeper)
{
}

void CPropertyPage::ensureLoaded()
{
    if (m_loaded)
        return;
    load();
    m_loaded = true;
    // Filling the controls fires their change signals; what was read is not a change.
    setModified(false);
}

QString CPropertyPage::checkData()
{
    return QString();
}

void CPropertyPage::apply()
{
    if (!m_loaded)
        return;
    store();
    setModified(false);
}

void CPropertyPage::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged();
}

std::uint32_t CPropertyPage::readInt(const char *section, const char *key, std::uint32_t fallback) const
{
    std::uint32_t value = fallback;
    return m_keeper->GetInt(section, key, value, PER_USER) == L_OK ? value : fallback;
}

QString CPropertyPage::readString(const char *section, const char *key) const
{
    LString value;
    return m_keeper->GetString(section, key, value, PER_USER) == L_OK ? toQString(value) : QString();
}

LFontRecord CPropertyPage::readFont(const char *section, const char *key) const
{
    LBinary value;
    LFontRecord record = LFontRecord::standard();
    // A value that is not a 60-byte record leaves the standard record in place.
    if (m_keeper->GetBinary(section, key, value, PER_USER) == L_OK)
        record.fromBinary(value);
    return record;
}

void CPropertyPage::writeInt(const char *section, const char *key, std::uint32_t value) const
{
    m_keeper->SetInt(section, key, value, PER_USER);
}

void CPropertyPage::writeString(const char *section, const char *key, const QString &value) const
{
    m_keeper->SetString(section, key, toLString(value), PER_USER);
}

void CPropertyPage::writeFont(const char *section, const char *key, const LFontRecord &record) const
{
    m_keeper->SetBinary(section, key, record.toBinary(), PER_USER);
}

} // namespace nimbdesk
