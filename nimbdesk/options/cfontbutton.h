#pragma once

#include "settings/lfontrecord.h"

#include <QPushButton>

namespace nimbdesk
{

// A push button that owns one font record and shows it as "face, size" ("MS Sans Serif, 10"). A click opens the
// font dialog on the record; a confirmed choice goes through takeFont.
class CFontButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CFontButton(QWidget *parent = nullptr);

    void setRecord(const settings::LFontRecord &record);
    const settings::LFontRecord &record() const { return m_record; }

    // Writes what the font holds into the record (fontconvert.h), refreshes the text and emits fontChosen.
    void takeFont(const QFont &font);

signals:
    void fontChosen();

private:
    void chooseFont();
    void refreshText();

    settings::LFontRecord m_record;
};

} // namespace nimbdesk
