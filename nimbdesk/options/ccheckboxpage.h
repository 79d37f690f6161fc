#pragma once

#include "nimbdesk/options/cpropertypage.h"

#include <cstdint>
#include <span>
#include <vector>

class QCheckBox;

namespace nimbdesk
{

// An options page of check boxes, each stored under its own key of one section as 1 when checked and 0 when not,
// and shown checked when the stored value is not 0, or the setting's default when none can be read. The page lays
// the boxes out; their object names are the keys.
class CCheckBoxPage : public CPropertyPage
{
    Q_OBJECT

public:
    struct Box {
        const char *key;
        // Marked for translation in the context the page is built with.
        const char *text;
    };

protected:
    CCheckBoxPage(corekit::LKeeper *keeper, const char *section, std::span<const Box> boxes, const char *context,
        QWidget *parent = nullptr);

    QCheckBox *box(std::size_t index) const { return m_checks[index]; }
    std::size_t boxCount() const { return m_checks.size(); }

    void load() override;
    void store() override;

private:
    const char *m_section;
    std::span<const Box> m_boxes;
    std::vector<QCheckBox *> m_checks;
};

} // namespace nimbdesk
