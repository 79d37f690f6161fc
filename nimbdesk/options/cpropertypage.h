#pragma once

#include "settings/lfontrecord.h"

#include <QString>
#include <QWidget>

#include <cstdint>

namespace corekit
{
class LKeeper;
}

namespace nimbdesk
{

// One page of the options sheet. The sheet loads a page from the keeper the first time it shows it, and makes every
// loaded page store its values on OK and Apply; a page never shown reads and writes nothing. A page marks itself
// modified when the user changes a value, which enables the sheet's Apply.
class CPropertyPage : public QWidget
{
    Q_OBJECT

public:
    // The keeper is not owned and must outlive the page.
    explicit CPropertyPage(corekit::LKeeper *keeper, QWidget *parent = nullptr);

    virtual QString caption() const = 0;

    // Loads the page from the keeper on the first call only.
    void ensureLoaded();
    bool isLoaded() const { return m_loaded; }
    bool isModified() const { return m_modified; }

    // The message that refuses the values in the controls (the control at fault takes the focus), or an empty text
    // when they can be stored.
    virtual QString checkData();
    // Writes the page's values through the keeper and clears the modified mark; a page never loaded writes nothing.
    void apply();

signals:
    void modifiedChanged();

protected:
    void setModified(bool modified = true);

    virtual void load() = 0;
    virtual void store() = 0;

    // Reads of a value that is missing or of another type give the fallback.
    std::uint32_t readInt(const char *section, const char *key, std::uint32_t fallback) const;
    QString readString(const char *section, const char *key) const;
    settings::LFontRecord readFont(const char *section, const char *key) const;
    void writeInt(const char *section, const char *key, std::uint32_t value) const;
    void writeString(const char *section, const char *key, const QString &value) const;
    void writeFont(const char *section, const char *key, const settings::LFontRecord &record) const;

private:
    corekit::LKeeper *m_keeper;
    bool m_loaded = false;
    bool m_modified = false;
};

} // namespace nimbdesk
