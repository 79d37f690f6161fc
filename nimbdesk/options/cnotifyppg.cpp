#include "nimbdesk/options/cnotifyppg.h"

#include "meteo/reader/wreadersettings.h"
#include "nimbdesk/options/ceventlist.h"
#include "nimbdesk/speech/lspeechdispatcher.h"
#include "settings/lsettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

// In the order the page shows and stores them: the kinds of alert, the sound and its severities, repeating.
constexpr std::size_t WARNINGS = 0;
constexpr std::size_t WATCHES = 1;
constexpr std::size_t STATEMENTS = 2;
constexpr std::size_t OTHERS = 3;
constexpr std::size_t SOUND = 4;
constexpr std::size_t SOUND_EXTREME = 5;
constexpr std::size_t SOUND_SEVERE = 6;
constexpr std::size_t SOUND_OTHERS = 7;
constexpr std::size_t REPEAT = 8;
constexpr std::size_t SPEAK = 9;

constexpr CCheckBoxPage::Box BOXES[] = {
    {LSettings::NOTIFY_WARNINGS, QT_TRANSLATE_NOOP("CNotifyPpg", "Warnings")},
    {LSettings::NOTIFY_WATCHES, QT_TRANSLATE_NOOP("CNotifyPpg", "Watches")},
    {LSettings::NOTIFY_STATEMENTS, QT_TRANSLATE_NOOP("CNotifyPpg", "Statements")},
    {LSettings::NOTIFY_OTHERS, QT_TRANSLATE_NOOP("CNotifyPpg", "Advisories and other alerts")},
    {LSettings::NOTIFY_SOUND, QT_TRANSLATE_NOOP("CNotifyPpg", "Ask the desktop to play a sound")},
    {LSettings::NOTIFY_SOUND_EXTREME, QT_TRANSLATE_NOOP("CNotifyPpg", "An alarm for extreme alerts")},
    {LSettings::NOTIFY_SOUND_SEVERE, QT_TRANSLATE_NOOP("CNotifyPpg", "A warning sound for severe alerts")},
    {LSettings::NOTIFY_SOUND_OTHERS, QT_TRANSLATE_NOOP("CNotifyPpg", "A message sound for the others")},
    {LSettings::NOTIFY_REPEAT,
        QT_TRANSLATE_NOOP("CNotifyPpg",
            "Send extreme alerts and tornado and flash flood warnings again every 30 seconds until I see them "
            "(10 minutes at most)")},
    {LSettings::NOTIFY_SPEAK, QT_TRANSLATE_NOOP("CNotifyPpg", "Speak extreme and severe alerts")},
};

// As stored: 0 Minor, 1 Moderate, 2 Severe, 3 Extreme.
constexpr const char *SEVERITIES[]
    = {QT_TRANSLATE_NOOP("CNotifyPpg", "Minor"), QT_TRANSLATE_NOOP("CNotifyPpg", "Moderate"),
        QT_TRANSLATE_NOOP("CNotifyPpg", "Severe"), QT_TRANSLATE_NOOP("CNotifyPpg", "Extreme")};

constexpr QChar EVENT_SEPARATOR = QLatin1Char(';');

} // namespace

CNotifyPpg::CNotifyPpg(LKeeper *keeper, QWidget *parent)
    : CCheckBoxPage(keeper, LSettings::NOTIFY, BOXES, "CNotifyPpg", parent)
    , m_severity(new QComboBox(this))
    , m_checkMinutes(new QSpinBox(this))
    , m_alertArea(new QComboBox(this))
    , m_checkNote(new QLabel(this))
    , m_events(new CEventList(this))
    , m_speechNote(new QLabel(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(checkGroup());
    layout->addWidget(kindsGroup());
    layout->addWidget(soundGroup());
    layout->addWidget(box(REPEAT));
    auto *speech = new QHBoxLayout;
    speech->addWidget(box(SPEAK));
    m_speechNote->setObjectName(QStringLiteral("SpeechNote"));
    speech->addWidget(m_speechNote, 1);
    layout->addLayout(speech);
    connect(box(SPEAK), &QCheckBox::toggled, this, &CNotifyPpg::checkSpeech);
    layout->addWidget(m_events, 1);
    connect(m_events, &CEventList::changed, this, [this] { setModified(); });
}

// Only the web service can be asked for the alerts alone; the state pages are read whole with each update.
QWidget *CNotifyPpg::checkGroup()
{
    auto *group = new QGroupBox(tr("Checking"), this);
    auto *row = new QHBoxLayout;
    auto *before = new QLabel(tr("Check for new alerts every"), group);
    m_checkMinutes->setObjectName(QLatin1String(LSettings::NOTIFY_CHECK_MINUTES));
    m_checkMinutes->setRange(
        static_cast<int>(LSettings::MIN_CHECK_MINUTES), static_cast<int>(LSettings::MAX_CHECK_MINUTES));
    before->setBuddy(m_checkMinutes);
    connect(m_checkMinutes, &QSpinBox::valueChanged, this, [this] { setModified(); });
    row->addWidget(before);
    row->addWidget(m_checkMinutes);
    row->addWidget(new QLabel(tr("minutes"), group));
    row->addStretch();
    m_alertArea->setObjectName(QLatin1String(LSettings::ALERT_AREA));
    m_alertArea->addItem(tr("The place's point"), 0u);
    m_alertArea->addItem(tr("Its county and forecast zone"), 1u);
    connect(m_alertArea, &QComboBox::currentIndexChanged, this, [this] { setModified(); });
    auto *area = new QHBoxLayout;
    auto *areaLabel = new QLabel(tr("Alerts for:"), group);
    areaLabel->setBuddy(m_alertArea);
    area->addWidget(areaLabel);
    area->addWidget(m_alertArea);
    area->addStretch();
    auto *areaNote = new QLabel(tr("The point gets the alerts whose area covers the place itself; the county and "
                                   "zone also those for elsewhere in them, some of which do not reach the place."),
        group);
    areaNote->setWordWrap(true);
    m_checkNote->setObjectName(QStringLiteral("CheckNote"));
    m_checkNote->setWordWrap(true);
    auto *layout = new QVBoxLayout(group);
    layout->addLayout(row);
    layout->addWidget(m_checkNote);
    layout->addLayout(area);
    layout->addWidget(areaNote);
    return group;
}

QWidget *CNotifyPpg::kindsGroup()
{
    auto *group = new QGroupBox(tr("Notify me of"), this);
    auto *kinds = new QFormLayout(group);
    kinds->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    for (const std::size_t kind : {WARNINGS, WATCHES, STATEMENTS, OTHERS})
        kinds->addRow(box(kind));
    // The gravest first, as a person reads "at least".
    for (std::size_t i = std::size(SEVERITIES); i-- > 0;)
        m_severity->addItem(tr(SEVERITIES[i]), static_cast<uint>(i));
    m_severity->setObjectName(QLatin1String(LSettings::NOTIFY_MIN_SEVERITY));
    connect(m_severity, &QComboBox::currentIndexChanged, this, [this] { setModified(); });
    kinds->addRow(tr("Notify for alerts at least:"), m_severity);
    return group;
}

// The sound of each severity can be chosen only while the desktop is asked for one.
QWidget *CNotifyPpg::soundGroup()
{
    auto *group = new QGroupBox(tr("Sound"), this);
    auto *sounds = new QVBoxLayout(group);
    sounds->addWidget(box(SOUND));
    for (const std::size_t sound : {SOUND_EXTREME, SOUND_SEVERE, SOUND_OTHERS}) {
        auto *row = new QHBoxLayout;
        row->addSpacing(20);
        row->addWidget(box(sound));
        sounds->addLayout(row);
        connect(box(SOUND), &QCheckBox::toggled, box(sound), &QWidget::setEnabled);
        box(sound)->setEnabled(false);
    }
    return group;
}

CNotifyPpg::~CNotifyPpg() = default;

QString CNotifyPpg::caption() const
{
    return tr("Notifications");
}

// Where speech is asked for, whether the desktop's speech service answers is told beside the option. The speaker
// answers from a thread of its own; the page asks the speaker it keeps, which stops answering when the page goes.
void CNotifyPpg::checkSpeech(bool wanted)
{
    m_speechNote->clear();
    if (!wanted)
        return;
    if (!m_speech)
        m_speech = std::make_unique<LSpeechDispatcher>();
    m_speech->Connect([this](const std::string &failure) {
        if (failure.empty())
            return;
        QMetaObject::invokeMethod(
            this, [this, reason = QString::fromStdString(failure).simplified()] { tellSpeechFailure(reason); },
            Qt::QueuedConnection);
    });
}

void CNotifyPpg::tellSpeechFailure(const QString &reason)
{
    if (box(SPEAK)->isChecked())
        m_speechNote->setText(tr("The speech service cannot be reached: %1").arg(reason));
}

void CNotifyPpg::load()
{
    CCheckBoxPage::load();
    m_checkMinutes->setValue(static_cast<int>(readInt(LSettings::NOTIFY, LSettings::NOTIFY_CHECK_MINUTES,
        LSettings::DefaultOf(LSettings::NOTIFY, LSettings::NOTIFY_CHECK_MINUTES))));
    const bool statePages = readInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, WReaderSettings::SOURCE_WEB_SERVICE)
        == WReaderSettings::SOURCE_STATE_PAGES;
    m_checkMinutes->setEnabled(!statePages);
    m_alertArea->setEnabled(!statePages);
    const int area
        = m_alertArea->findData(readInt(LSettings::INTERNET, LSettings::ALERT_AREA, WReaderSettings::ALERT_AREA_POINT));
    m_alertArea->setCurrentIndex(std::max(area, 0));
    m_checkNote->setText(statePages
            ? tr("With the state product pages as the source, the alerts are checked with each update, for the "
                 "place's forecast zone.")
            : tr("Only the alerts are asked for between two updates; the web service answers "
                 "\"unchanged\" in a few bytes while nothing changed."));
    const std::uint32_t standard = LSettings::DefaultOf(LSettings::NOTIFY, LSettings::NOTIFY_MIN_SEVERITY);
    const std::uint32_t severity = readInt(LSettings::NOTIFY, LSettings::NOTIFY_MIN_SEVERITY, standard);
    const int index = m_severity->findData(static_cast<uint>(severity));
    m_severity->setCurrentIndex(index >= 0 ? index : m_severity->findData(static_cast<uint>(standard)));
    QStringList muted
        = readString(LSettings::NOTIFY, LSettings::NOTIFY_MUTED_EVENTS).split(EVENT_SEPARATOR, Qt::SkipEmptyParts);
    for (QString &event : muted)
        event = event.trimmed();
    m_events->setMuted(muted);
    m_events->fetch(readString(LSettings::INTERNET, LSettings::API_BASE));
}

void CNotifyPpg::store()
{
    CCheckBoxPage::store();
    writeInt(LSettings::NOTIFY, LSettings::NOTIFY_CHECK_MINUTES, static_cast<std::uint32_t>(m_checkMinutes->value()));
    writeInt(LSettings::INTERNET, LSettings::ALERT_AREA, m_alertArea->currentData().toUInt());
    writeInt(LSettings::NOTIFY, LSettings::NOTIFY_MIN_SEVERITY, m_severity->currentData().toUInt());
    writeString(LSettings::NOTIFY, LSettings::NOTIFY_MUTED_EVENTS, m_events->muted().join(EVENT_SEPARATOR));
}

} // namespace nimbdesk
