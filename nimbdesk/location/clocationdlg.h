#pragma once

#include <QCollator>
#include <QDialog>

#include <cstdint>
#include <utility>
#include <vector>

namespace corekit
{
class LKeeper;
}
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace nimbdesk
{

class CPlaceFinder;
class CSavedPlacesEdit;

// "Select Location": one state and one city of the location database, stored on OK as the identifiers
// Location/State and Location/City; Cancel stores nothing. A search box above the lists, focused on opening, finds
// a place in any state by name, ZIP code, station or coordinates, and choosing a result selects its state and city
// in the lists. Both lists are sorted as people read names ("Cañon City" among the C's, "Puerto Rico" after
// "Pennsylvania"), two cities of one name are told apart by county ("Mesquite (Dallas County)"), and each list has
// a filter box above it. The keyboard alone picks a place: type into the search box, Enter, Enter; or type into the
// state filter, arrow to the state, Enter, the same for the city, Enter.
//
// Below the lists, the saved places: "Add to my places" saves the selected place, and the list orders them. OK
// stores the list with the place chosen among them, so that the first place chosen is the first saved one.
//
// The process-wide location database must be open while the dialog lives.
class CLocationDlg : public QDialog
{
    Q_OBJECT

public:
    // The keeper is not owned and must outlive the dialog.
    explicit CLocationDlg(corekit::LKeeper *keeper, QWidget *parent = nullptr);

    // Stores the selected state and city and closes the dialog; does nothing unless both lists have a selection.
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLayout *selectionRow();
    QLayout *listColumns();
    QLayout *listColumn(const QString &title, const QString &hint, QLineEdit *&filter, QListWidget *&list);
    QWidget *buttonBox();
    void fillStates();
    void restoreStored();
    void stateSelectionChanged();
    void citySelectionChanged();
    bool selectIds(std::uint32_t stateId, std::uint32_t cityId);
    // A place chosen in the search: its state and city are selected and shown, and OK takes the focus.
    void selectPlace(std::uint32_t stateId, std::uint32_t cityId);
    void fillList(QListWidget *list, const std::vector<std::pair<QString, std::uint32_t>> &entries);
    void filterList(QListWidget *list, const QString &text);
    // Enter in a filter box or a list; true when the key was used up.
    bool enterPressed(QObject *watched);
    bool selectedIds(std::uint32_t &stateId, std::uint32_t &cityId) const;
    void addSelected();
    void storeSavedPlaces(std::uint32_t stateId, std::uint32_t cityId);

    corekit::LKeeper *m_keeper;
    QCollator m_collator;
    QLabel *m_selection = nullptr;
    CPlaceFinder *m_finder = nullptr;
    QLineEdit *m_stateFilter = nullptr;
    QListWidget *m_states = nullptr;
    QLineEdit *m_cityFilter = nullptr;
    QListWidget *m_cities = nullptr;
    QPushButton *m_ok = nullptr;
    CSavedPlacesEdit *m_saved = nullptr;
};

} // namespace nimbdesk
