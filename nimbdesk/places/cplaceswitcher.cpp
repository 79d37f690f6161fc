#include "nimbdesk/places/cplaceswitcher.h"

#include "nimbdesk/places/placename.h"

#include <QEvent>
#include <QMenu>
#include <QShortcut>

using namespace settings;

namespace nimbdesk
{

namespace
{

constexpr std::size_t SHORTCUT_PLACES = 9;

std::pair<std::uint32_t, std::uint32_t> keyOf(const LPlaceId &place)
{
    return {place.stateId, place.cityId};
}

QKeySequence shortcutOf(std::size_t index)
{
    return QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + static_cast<int>(index)));
}

} // namespace

CPlaceSwitcher::CPlaceSwitcher(QWidget *window, QWidget *header, QWidget *parent)
    : QToolButton(parent)
    , m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("placeSwitcher"));
    setMenu(m_menu);
    setPopupMode(QToolButton::InstantPopup);
    setToolTip(tr("Show another saved place (Ctrl+1 to Ctrl+9)"));
    setAccessibleName(tr("Saved places"));
    setText(tr("Places"));
    header->installEventFilter(this);
    addShortcuts(window);
}

void CPlaceSwitcher::SetPlaces(const std::vector<LPlaceId> &places, const LPlaceId &shown)
{
    m_places = places;
    m_shown = shown;
    rebuildMenu();
}

void CPlaceSwitcher::SetWarning(const LPlaceId &place, const QString &event)
{
    if (event.isEmpty())
        m_warnings.erase(keyOf(place));
    else
        m_warnings[keyOf(place)] = event;
    rebuildMenu();
}

QString CPlaceSwitcher::entryText(std::size_t index) const
{
    const LPlaceId &place = m_places.at(index);
    const auto warning = m_warnings.find(keyOf(place));
    const QString name = placeName(place);
    return warning == m_warnings.end() ? name : tr("%1 — ⚠ %2").arg(name, warning->second);
}

bool CPlaceSwitcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && m_places.size() > 1)
        showMenu();
    return QToolButton::eventFilter(watched, event);
}

void CPlaceSwitcher::addShortcuts(QWidget *window)
{
    for (std::size_t index = 0; index < SHORTCUT_PLACES; ++index) {
        auto *shortcut = new QShortcut(shortcutOf(index), window);
        connect(shortcut, &QShortcut::activated, this, [this, index] { choose(index); });
    }
}

// Choosing the place shown does nothing, as does a number past the list.
void CPlaceSwitcher::choose(std::size_t index)
{
    if (index >= m_places.size() || m_places[index] == m_shown)
        return;
    emit placeChosen(m_places[index].stateId, m_places[index].cityId);
}

// "&1 Des Moines, Iowa": the number is the shortcut's and the menu's key.
void CPlaceSwitcher::rebuildMenu()
{
    m_menu->clear();
    for (std::size_t index = 0; index < m_places.size(); ++index) {
        QString text = entryText(index);
        // The keys are the window's shortcuts, only shown here: an action's own would be a second one for them.
        if (index < SHORTCUT_PLACES)
            text = QStringLiteral("&%1 %2\t%3")
                       .arg(index + 1)
                       .arg(text, shortcutOf(index).toString(QKeySequence::NativeText));
        QAction *action = m_menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(m_places[index] == m_shown);
        connect(action, &QAction::triggered, this, [this, index] { choose(index); });
    }
    setEnabled(m_places.size() > 1);
    showWarningMark();
}

void CPlaceSwitcher::showWarningMark()
{
    setText(m_warnings.empty() ? tr("Places") : tr("Places ⚠"));
}

} // namespace nimbdesk
