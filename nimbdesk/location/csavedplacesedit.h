#pragma once

#include "settings/lplacelist.h"

#include <QWidget>

#include <vector>

class QListWidget;
class QPushButton;

namespace nimbdesk
{

// The saved places in Select Location: their list in the window's order, "Add to my places" for the place
// selected in the dialog, and Remove, Move up and Move down for the one selected here. The keyboard does the same
// in the list: Delete removes, Alt+Up and Alt+Down move.
class CSavedPlacesEdit : public QWidget
{
    Q_OBJECT

public:
    explicit CSavedPlacesEdit(QWidget *parent = nullptr);

    void SetPlaces(const std::vector<settings::LPlaceId> &places);
    const std::vector<settings::LPlaceId> &places() const { return m_places; }
    // Adds the place at the end and selects it; false when it is saved already or the list is full.
    bool Add(const settings::LPlaceId &place);
    // Whether a place more can be saved.
    bool HasRoom() const { return m_places.size() < settings::LPlaceList::MAX_PLACES; }

signals:
    // "Add to my places" was pressed: the dialog answers with Add for the place it has selected.
    void addRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buttonColumn();
    void removeSelected();
    void moveSelected(int step);
    void refill(int selectedRow);
    void enableButtons();

    std::vector<settings::LPlaceId> m_places;
    QListWidget *m_list = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_up = nullptr;
    QPushButton *m_down = nullptr;
};

} // namespace nimbdesk
