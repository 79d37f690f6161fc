#include "nimbdesk/options/cfontbutton.h"

#include "nimbdesk/common/fontconvert.h"

#include <QFontDialog>

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

CFontButton::CFontButton(QWidget *parent)
    : QPushButton(parent)
    , m_record(LFontRecord::standard())
{
    refreshText();
    connect(this, &QPushButton::clicked, this, &CFontButton::chooseFont);
}

void CFontButton::setRecord(const LFontRecord &record)
{
    m_record = record;
    refreshText();
}

void CFontButton::takeFont(const QFont &font)
{
    applyFontToRecord(font, screenPixelsPerInch(this), m_record);
    refreshText();
    emit fontChosen();
}

void CFontButton::chooseFont()
{
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, fontFromRecord(m_record, screenPixelsPerInch(this)), this);
    if (chosen)
        takeFont(font);
}

void CFontButton::refreshText()
{
    setText(fontDescription(m_record, screenPixelsPerInch(this)));
}

} // namespace nimbdesk
