#pragma once

#include "settings/lplacelist.h"

#include <QString>
#include <QToolButton>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

class QMenu;

namespace nimbdesk
{

// Switches the window between the saved places: a button beside the place's name (a click on the name opens it
// too) with a menu of the saved places, the shown one checked, and Ctrl+1 to Ctrl+9 for the first nine. A place
// with a warning in force has it beside its name ("Bismarck, North Dakota — ⚠ Blizzard Warning"), and so does the
// button while any place has one.
class CPlaceSwitcher : public QToolButton
{
    Q_OBJECT

public:
    // The shortcuts work anywhere in window; a click on header opens the menu. Neither is owned.
    CPlaceSwitcher(QWidget *window, QWidget *header, QWidget *parent);

    void SetPlaces(const std::vector<settings::LPlaceId> &places, const settings::LPlaceId &shown);
    // The event of the gravest warning in force at the place; empty when none is.
    void SetWarning(const settings::LPlaceId &place, const QString &event);
    const std::vector<settings::LPlaceId> &places() const { return m_places; }
    const settings::LPlaceId &shown() const { return m_shown; }
    // "Des Moines, Iowa" with the warning beside it, as the menu lists it.
    QString entryText(std::size_t index) const;

signals:
    void placeChosen(std::uint32_t stateId, std::uint32_t cityId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addShortcuts(QWidget *window);
    void choose(std::size_t index);
    void rebuildMenu();
    void showWarningMark();

    QMenu *m_menu;
    std::vector<settings::LPlaceId> m_places;
    settings::LPlaceId m_shown;
    // By "STATE/CITY": the event of the gravest warning.
    std::map<std::pair<std::uint32_t, std::uint32_t>, QString> m_warnings;
};

} // namespace nimbdesk
