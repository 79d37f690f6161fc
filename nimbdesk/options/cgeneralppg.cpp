#include "nimbdesk/options/cgeneralppg.h"

#include "nimbdesk/options/cautostart.h"
#include "nimbdesk/options/ccolorbutton.h"
#include "nimbdesk/options/cfontbutton.h"
#include "settings/lsettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

namespace
{

constexpr std::uint32_t DEFAULT_INTERVAL = 15;
constexpr std::uint32_t DEFAULT_BACKGROUND = 0; // black
// Wide enough for any number a person types, so that the page can refuse it with a message instead of the edit
// swallowing keys; the arrows stay within the accepted interval.
constexpr int MAX_TYPED_INTERVAL = static_cast<int>(LSettings::NO_INTERVAL);
constexpr int MIN_INTERVAL = static_cast<int>(LSettings::MIN_INTERVAL);
constexpr int MAX_INTERVAL = static_cast<int>(LSettings::MAX_INTERVAL);

class IntervalSpin final : public QSpinBox
{
public:
    explicit IntervalSpin(QWidget *parent)
        : QSpinBox(parent)
    {
        setRange(0, MAX_TYPED_INTERVAL);
    }

    void stepBy(int steps) override
    {
        const int target = std::clamp(value() + steps, MIN_INTERVAL, MAX_INTERVAL);
        QSpinBox::stepBy(target - value());
    }

protected:
    StepEnabled stepEnabled() const override
    {
        StepEnabled enabled = StepNone;
        if (value() < MAX_INTERVAL)
            enabled |= StepUpEnabled;
        if (value() > MIN_INTERVAL)
            enabled |= StepDownEnabled;
        return enabled;
    }
};

// A stored position that the group does not have shows as its first button.
void checkPosition(QButtonGroup *group, std::uint32_t position)
{
    QAbstractButton *button = position < static_cast<std::uint32_t>(group->buttons().size())
        ? group->button(static_cast<int>(position))
        : group->button(0);
    button->setChecked(true);
}

std::uint32_t positionOf(const QButtonGroup *group)
{
    return static_cast<std::uint32_t>(std::max(0, group->checkedId()));
}

QLabel *labelFor(const QString &text, QWidget *control)
{
    auto *label = new QLabel(text);
    label->setBuddy(control);
    control->setAccessibleName(text);
    return label;
}

} // namespace

CGeneralPpg::CGeneralPpg(LKeeper *keeper, QWidget *parent)
    : CPropertyPage(keeper, parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(intervalRow());
    layout->addWidget(scaleGroup(
        tr("Temperature"), {tr("Celsius"), tr("Fahrenheit")}, {"celsius", "fahrenheit"}, m_temperatureScale));
    layout->addWidget(scaleGroup(tr("Wind Speed"), {tr("MPH"), tr("KM/H")}, {"mph", "kmh"}, m_windSpeedScale));
    layout->addWidget(scaleGroup(
        tr("Pressure"), {tr("Inches Hg"), tr("mm Hg"), tr("hPa")}, {"inchesHg", "mmHg", "hPa"}, m_pressureScale));
    layout->addLayout(fontsAndColors());
    layout->addWidget(autostartBox());
    layout->addStretch();
}

QString CGeneralPpg::caption() const
{
    return tr("General");
}

QString CGeneralPpg::checkData()
{
    m_interval->interpretText();
    const int minutes = m_interval->value();
    if (minutes >= MIN_INTERVAL && minutes <= MAX_INTERVAL)
        return QString();
    m_interval->setFocus();
    m_interval->selectAll();
    return tr("The update interval must be a whole number of minutes from %1 to %2.")
        .arg(MIN_INTERVAL)
        .arg(MAX_INTERVAL);
}

void CGeneralPpg::load()
{
    const char *section = LSettings::GENERAL;
    const std::uint32_t minutes = readInt(section, LSettings::UPDATE_TIMEOUT, DEFAULT_INTERVAL);
    m_interval->setValue(static_cast<int>(std::min<std::uint32_t>(minutes, MAX_TYPED_INTERVAL)));
    checkPosition(m_temperatureScale, readInt(section, LSettings::TEMPERATURE_SCALE, 0));
    checkPosition(m_windSpeedScale, readInt(section, LSettings::WIND_SPEED_SCALE, 0));
    checkPosition(m_pressureScale, readInt(section, LSettings::PRESSURE_SCALE, 0));
    m_foreground->setColor(readInt(section, LSettings::FOREGROUND_COLOR, LSettings::RED));
    m_background->setColor(readInt(section, LSettings::BACKGROUND_COLOR, DEFAULT_BACKGROUND));
    m_font->setRecord(readFont(section, LSettings::FONT));
    m_headerFont->setRecord(readFont(section, LSettings::HEADER_FONT));
    m_autostart->setChecked(CAutostart::isEnabled());
}

void CGeneralPpg::store()
{
    const char *section = LSettings::GENERAL;
    writeInt(section, LSettings::UPDATE_TIMEOUT, static_cast<std::uint32_t>(m_interval->value()));
    writeInt(section, LSettings::TEMPERATURE_SCALE, positionOf(m_temperatureScale));
    writeInt(section, LSettings::WIND_SPEED_SCALE, positionOf(m_windSpeedScale));
    writeInt(section, LSettings::PRESSURE_SCALE, positionOf(m_pressureScale));
    writeInt(section, LSettings::FOREGROUND_COLOR, m_foreground->color());
    writeInt(section, LSettings::BACKGROUND_COLOR, m_background->color());
    writeFont(section, LSettings::FONT, m_font->record());
    writeFont(section, LSettings::HEADER_FONT, m_headerFont->record());
    storeAutostart();
}

QLayout *CGeneralPpg::intervalRow()
{
    m_interval = new IntervalSpin(this);
    m_interval->setObjectName(QStringLiteral("updateInterval"));
    connect(m_interval, &QSpinBox::textChanged, this, [this] { setModified(); });
    auto *row = new QHBoxLayout;
    row->addWidget(labelFor(tr("Update Every"), m_interval));
    row->addWidget(m_interval);
    row->addWidget(new QLabel(tr("min")));
    row->addStretch();
    return row;
}

QGroupBox *CGeneralPpg::scaleGroup(
    const QString &title, const QStringList &labels, const QStringList &names, QButtonGroup *&group)
{
    auto *box = new QGroupBox(title, this);
    auto *row = new QHBoxLayout(box);
    group = new QButtonGroup(box);
    for (int position = 0; position < labels.size(); ++position) {
        auto *radio = new QRadioButton(labels[position], box);
        radio->setObjectName(names[position]);
        group->addButton(radio, position);
        row->addWidget(radio);
    }
    row->addStretch();
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            setModified();
    });
    return box;
}

// The foreground colour is the text colour of the header label and the gauges, the background colour the one
// behind them.
QLayout *CGeneralPpg::fontsAndColors()
{
    m_font = new CFontButton(this);
    m_headerFont = new CFontButton(this);
    m_foreground = new CColorButton(this);
    m_background = new CColorButton(this);
    const std::pair<QWidget *, const char *> names[] = {{m_font, "font"}, {m_headerFont, "headerFont"},
        {m_foreground, "foregroundColor"}, {m_background, "backgroundColor"}};
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));
    for (CFontButton *button : {m_font, m_headerFont})
        connect(button, &CFontButton::fontChosen, this, [this] { setModified(); });
    for (CColorButton *button : {m_foreground, m_background})
        connect(button, &CColorButton::colorChosen, this, [this] { setModified(); });

    auto *grid = new QGridLayout;
    grid->addWidget(labelFor(tr("Control's font"), m_font), 0, 0);
    grid->addWidget(m_font, 1, 0);
    grid->addWidget(labelFor(tr("Header's font"), m_headerFont), 2, 0);
    grid->addWidget(m_headerFont, 3, 0);
    grid->addWidget(labelFor(tr("Control's foreground"), m_foreground), 0, 1);
    grid->addWidget(m_foreground, 1, 1, Qt::AlignLeft);
    grid->addWidget(labelFor(tr("Control's background"), m_background), 2, 1);
    grid->addWidget(m_background, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    return grid;
}

// The autostart entry is not a setting of the keeper: the box says whether the entry exists.
QCheckBox *CGeneralPpg::autostartBox()
{
    m_autostart = new QCheckBox(tr("Start Nimbrel when I log in"), this);
    m_autostart->setObjectName(QStringLiteral("autostart"));
    connect(m_autostart, &QCheckBox::toggled, this, [this] { setModified(); });
    return m_autostart;
}

// A failure is said in the window, and the box goes back to what is on disk.
void CGeneralPpg::storeAutostart()
{
    if (m_autostart->isChecked() == CAutostart::isEnabled())
        return;
    const QString failure = m_autostart->isChecked() ? CAutostart::enable(QCoreApplication::applicationFilePath())
                                                     : CAutostart::disable();
    if (failure.isEmpty())
        return;
    m_autostart->setChecked(CAutostart::isEnabled());
    QMessageBox::warning(this, tr("Start at login"), failure);
}

} // namespace nimbdesk
