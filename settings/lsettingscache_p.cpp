#include "settings/lsettingscache_p.h"

using namespace corekit;

namespace settings
{

const LSettingsDoc &LSettingsCache::current(const std::string &path)
{
    const LSettingsFile file(path);
    if (m_filled && path == m_path && file.stamp() == m_stamp)
        return m_doc;
    m_doc = file.read(m_stamp);
    m_path = path;
    m_filled = true;
    ++m_reads;
    return m_doc;
}

} // namespace settings
