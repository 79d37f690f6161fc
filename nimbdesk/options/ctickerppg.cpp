#include "nimbdesk/options/ctickerppg.h"

#include "nimbdesk/options/ccolorbutton.h"
#include "nimbdesk/options/cfontbutton.h"
#include "settings/lsettings.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

namespace
{

constexpr std::uint32_t DEFAULT_DELAY = 30;
constexpr std::uint32_t GREEN = 65280;

} // namespace

CTickerPpg::CTickerPpg(LKeeper *keeper, Kind kind, QWidget *parent)
    : CPropertyPage(keeper, parent)
    , m_kind(kind)
{
    m_font = new CFontButton(this);
    m_font->setObjectName(QStringLiteral("font"));
    m_textColor = new CColorButton(this);
    m_textColor->setObjectName(QStringLiteral("textColor"));
    connect(m_font, &CFontButton::fontChosen, this, [this] { setModified(); });
    connect(m_textColor, &CColorButton::colorChosen, this, [this] { setModified(); });

    auto *fontLabel = new QLabel(tr("Font"), this);
    fontLabel->setBuddy(m_font);
    auto *colorLabel = new QLabel(tr("Text color"), this);
    colorLabel->setBuddy(m_textColor);
    m_textColor->setAccessibleName(colorLabel->text());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedGroup());
    layout->addWidget(fontLabel);
    layout->addWidget(m_font, 0, Qt::AlignLeft);
    layout->addWidget(colorLabel);
    layout->addWidget(m_textColor, 0, Qt::AlignLeft);
    layout->addStretch();
}

QString CTickerPpg::caption() const
{
    return m_kind == Kind::Forecast ? tr("Forecast Ticker") : tr("Special Messages Ticker");
}

void CTickerPpg::load()
{
    // Clamped before the conversion, so that a huge stored delay shows at the slow end, not wrapped to the fast one.
    const std::uint32_t delay = readInt(section(), LSettings::DELAY, DEFAULT_DELAY);
    m_delay->setValue(static_cast<int>(std::clamp(delay, LSettings::MIN_DELAY, LSettings::MAX_DELAY)));
    m_font->setRecord(readFont(section(), LSettings::FONT));
    m_textColor->setColor(readInt(section(), LSettings::TEXT_COLOR, m_kind == Kind::Forecast ? GREEN : LSettings::RED));
}

void CTickerPpg::store()
{
    writeInt(section(), LSettings::DELAY, static_cast<std::uint32_t>(m_delay->value()));
    writeFont(section(), LSettings::FONT, m_font->record());
    writeInt(section(), LSettings::TEXT_COLOR, m_textColor->color());
}

const char *CTickerPpg::section() const
{
    return m_kind == Kind::Forecast ? LSettings::FORECAST_TICKER : LSettings::WARNINGS_TICKER;
}

QWidget *CTickerPpg::speedGroup()
{
    auto *box = new QGroupBox(tr("Scrolling speed"), this);
    m_delay = new QSlider(Qt::Horizontal, box);
    m_delay->setObjectName(QStringLiteral("delay"));
    m_delay->setRange(static_cast<int>(LSettings::MIN_DELAY), static_cast<int>(LSettings::MAX_DELAY));
    m_delay->setTickPosition(QSlider::NoTicks);
    m_delay->setAccessibleName(box->title());
    auto *grid = new QGridLayout(box);
    grid->addWidget(m_delay, 0, 0, 1, 2);
    grid->addWidget(new QLabel(tr("<- Faster"), box), 1, 0, Qt::AlignLeft);
    grid->addWidget(new QLabel(tr("Slower->"), box), 1, 1, Qt::AlignRight);
    return box;
}

} // namespace nimbdesk
