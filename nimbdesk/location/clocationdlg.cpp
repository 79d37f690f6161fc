#include "nimbdesk/location/clocationdlg.h"

#include "corekit/lex.h"
#include "corekit/lkeeper.h"
#include "meteo/base/wplacefold.h"
#include "meteo/location/wlocationdb.h"
#include "nimbdesk/common/lstringqt.h"
#include "nimbdesk/location/cplacefinder.h"
#include "nimbdesk/location/csavedplacesedit.h"
#include "settings/lplacelist.h"
#include "settings/lsettings.h"

#include <QCollatorSortKey>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

constexpr int ID_ROLE = Qt::UserRole;
// The name as the filter compares it, folded as the place search folds it: "canon" finds "Cañon City" and
// "st louis" finds "Saint Louis"; and with its words as written, so that "moun", typed on the way to "mount", still
// finds "Mount Vernon".
constexpr int FOLDED_ROLE = Qt::UserRole + 1;
constexpr int LETTERS_ROLE = Qt::UserRole + 2;

QString folded(const QString &text)
{
    return QString::fromStdString(foldPlaceText(text.toStdString()));
}

QString letters(const QString &text)
{
    return QString::fromStdString(foldPlaceLetters(text.toStdString()));
}

std::uint32_t idOf(const QListWidgetItem *item)
{
    return item->data(ID_ROLE).value<std::uint32_t>();
}

QListWidgetItem *selectedItem(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QListWidgetItem *itemWithId(const QListWidget *list, std::uint32_t id)
{
    for (int row = 0; row < list->count(); ++row) {
        if (idOf(list->item(row)) == id)
            return list->item(row);
    }
    return nullptr;
}

// The first row that the filter left visible.
QListWidgetItem *firstShown(const QListWidget *list)
{
    for (int row = 0; row < list->count(); ++row) {
        if (!list->item(row)->isHidden())
            return list->item(row);
    }
    return nullptr;
}

bool isMoveKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

} // namespace

CLocationDlg::CLocationDlg(LKeeper *keeper, QWidget *parent)
    : QDialog(parent)
    , m_keeper(keeper)
    // The names are American places, whatever the language of the desktop; numeric mode puts "Site 2" before
    // "Site 10".
    , m_collator(QLocale(QLocale::English, QLocale::UnitedStates))
{
    setWindowTitle(tr("Select Location"));
    m_collator.setNumericMode(true);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(selectionRow());
    m_finder = new CPlaceFinder(this);
    connect(m_finder, &CPlaceFinder::placeChosen, this, &CLocationDlg::selectPlace);
    layout->addWidget(m_finder);
    layout->addLayout(listColumns(), 1);
    m_saved = new CSavedPlacesEdit(this);
    m_saved->SetPlaces(LPlaceList::Load(*m_keeper).places);
    connect(m_saved, &CSavedPlacesEdit::addRequested, this, &CLocationDlg::addSelected);
    layout->addWidget(m_saved);
    layout->addWidget(buttonBox());
    resize(520, 640);

    fillStates();
    restoreStored();
    m_finder->setFocus();
}

void CLocationDlg::accept()
{
    std::uint32_t stateId = 0;
    std::uint32_t cityId = 0;
    if (!selectedIds(stateId, cityId))
        return;
    m_keeper->SetInt(LSettings::LOCATION, LSettings::STATE, stateId, false);
    m_keeper->SetInt(LSettings::LOCATION, LSettings::CITY, cityId, false);
    storeSavedPlaces(stateId, cityId);
    QDialog::accept();
}

// Keys in a filter box that move through a list go to the list, so that typing and arrowing mix. Enter on the
// state side moves on to the cities; on the city side it falls through to OK.
bool CLocationDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return enterPressed(watched);
    if (isMoveKey(key) && (watched == m_stateFilter || watched == m_cityFilter)) {
        QListWidget *list = watched == m_stateFilter ? m_states : m_cities;
        QCoreApplication::sendEvent(list, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QLayout *CLocationDlg::selectionRow()
{
    m_selection = new QLabel(this);
    m_selection->setObjectName(QStringLiteral("selection"));
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Selected:"), this));
    row->addWidget(m_selection, 1);
    return row;
}

QLayout *CLocationDlg::listColumns()
{
    auto *columns = new QHBoxLayout;
    columns->addLayout(listColumn(tr("State"), tr("Filter states"), m_stateFilter, m_states), 2);
    columns->addLayout(listColumn(tr("City"), tr("Filter cities"), m_cityFilter, m_cities), 3);
    m_stateFilter->setObjectName(QStringLiteral("stateFilter"));
    m_states->setObjectName(QStringLiteral("states"));
    m_cityFilter->setObjectName(QStringLiteral("cityFilter"));
    m_cities->setObjectName(QStringLiteral("cities"));
    connect(m_states, &QListWidget::itemSelectionChanged, this, &CLocationDlg::stateSelectionChanged);
    connect(m_cities, &QListWidget::itemSelectionChanged, this, &CLocationDlg::citySelectionChanged);
    return columns;
}

QLayout *CLocationDlg::listColumn(const QString &title, const QString &hint, QLineEdit *&filter, QListWidget *&list)
{
    filter = new QLineEdit(this);
    filter->setPlaceholderText(hint);
    filter->setClearButtonEnabled(true);
    list = new QListWidget(this);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    auto *label = new QLabel(title, this);
    label->setBuddy(list);
    list->setAccessibleName(title);
    filter->setAccessibleName(hint);
    filter->installEventFilter(this);
    list->installEventFilter(this);
    connect(filter, &QLineEdit::textChanged, this, [this, list](const QString &text) { filterList(list, text); });

    auto *column = new QVBoxLayout;
    column->addWidget(label);
    column->addWidget(filter);
    column->addWidget(list, 1);
    return column;
}

QWidget *CLocationDlg::buttonBox()
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLocationDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLocationDlg::reject);
    return buttons;
}

void CLocationDlg::fillStates()
{
    WLocationDB &db = WLocationDB::getLocationDB();
    std::vector<std::pair<QString, std::uint32_t>> entries;
    if (db.initStateIterator(WLocationDB::UNITED_STATES) == 0) {
        WState state;
        while (db.getNextState(state) == 0)
            entries.emplace_back(toQString(state.getName()), state.getId());
    }
    db.closeStateIterator();
    fillList(m_states, entries);
}

// A stored place that the lists no longer hold is treated as no place: the prompt shows and OK waits for a city.
void CLocationDlg::restoreStored()
{
    std::uint32_t stateId = 0;
    std::uint32_t cityId = 0;
    const bool stored = m_keeper->GetInt(LSettings::LOCATION, LSettings::STATE, stateId, false) == L_OK
        && m_keeper->GetInt(LSettings::LOCATION, LSettings::CITY, cityId, false) == L_OK;
    if (stored)
        selectIds(stateId, cityId);
    if (!selectedItem(m_cities)) {
        m_selection->setText(tr("Please select state and city"));
        m_ok->setEnabled(false);
    }
}

// The city list follows the state list; the selection text and OK keep what the last city gave them.
void CLocationDlg::stateSelectionChanged()
{
    m_cities->clear();
    const QListWidgetItem *state = selectedItem(m_states);
    if (!state)
        return;
    WLocationDB &db = WLocationDB::getLocationDB();
    std::vector<std::pair<QString, std::uint32_t>> entries;
    if (db.initCityIterator(WLocationDB::UNITED_STATES, idOf(state)) == 0) {
        WCity city;
        while (db.getNextCity(city) == 0)
            entries.emplace_back(toQString(city.getListName()), city.getId());
    }
    db.closeCityIterator();
    fillList(m_cities, entries);
}

void CLocationDlg::citySelectionChanged()
{
    const QListWidgetItem *state = selectedItem(m_states);
    const QListWidgetItem *city = selectedItem(m_cities);
    if (!state || !city)
        return;
    m_selection->setText(QStringLiteral("%1, %2").arg(city->text(), state->text()));
    m_ok->setEnabled(true);
}

// Selects the state and then the city of the ids and scrolls to them; true when both are listed.
bool CLocationDlg::selectIds(std::uint32_t stateId, std::uint32_t cityId)
{
    QListWidgetItem *state = itemWithId(m_states, stateId);
    if (!state)
        return false;
    m_states->setCurrentItem(state);
    m_states->scrollToItem(state, QAbstractItemView::PositionAtCenter);
    QListWidgetItem *city = itemWithId(m_cities, cityId);
    if (!city)
        return false;
    m_cities->setCurrentItem(city);
    m_cities->scrollToItem(city, QAbstractItemView::PositionAtCenter);
    return true;
}

// The filters are emptied so that the chosen names show.
void CLocationDlg::selectPlace(std::uint32_t stateId, std::uint32_t cityId)
{
    m_stateFilter->clear();
    m_cityFilter->clear();
    if (selectIds(stateId, cityId))
        m_ok->setFocus();
}

// Sorted by the collator's keys, which are made once per name; equal names keep the order of the file.
void CLocationDlg::fillList(QListWidget *list, const std::vector<std::pair<QString, std::uint32_t>> &entries)
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (const auto &entry : entries)
        keys.push_back(m_collator.sortKey(entry.first));
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(
        order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]) < 0; });
    for (std::size_t index : order) {
        auto *item = new QListWidgetItem(entries[index].first);
        item->setData(ID_ROLE, QVariant::fromValue(entries[index].second));
        item->setData(FOLDED_ROLE, folded(entries[index].first));
        item->setData(LETTERS_ROLE, letters(entries[index].first));
        list->addItem(item);
    }
    filterList(list, list == m_states ? m_stateFilter->text() : m_cityFilter->text());
}

void CLocationDlg::filterList(QListWidget *list, const QString &text)
{
    const QString wanted = folded(text);
    const QString typed = letters(text);
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem *item = list->item(row);
        item->setHidden(!item->data(FOLDED_ROLE).toString().contains(wanted)
            && !item->data(LETTERS_ROLE).toString().contains(typed));
    }
}

bool CLocationDlg::enterPressed(QObject *watched)
{
    const bool stateSide = watched == m_stateFilter || watched == m_states;
    QListWidget *list = stateSide ? m_states : m_cities;
    if (!selectedItem(list) || selectedItem(list)->isHidden()) {
        if (QListWidgetItem *first = firstShown(list))
            list->setCurrentItem(first);
    }
    if (!stateSide)
        return false;
    m_cityFilter->setFocus();
    return true;
}

bool CLocationDlg::selectedIds(std::uint32_t &stateId, std::uint32_t &cityId) const
{
    const QListWidgetItem *state = selectedItem(m_states);
    const QListWidgetItem *city = selectedItem(m_cities);
    if (!state || !city)
        return false;
    stateId = idOf(state);
    cityId = idOf(city);
    return true;
}

void CLocationDlg::addSelected()
{
    std::uint32_t stateId = 0;
    std::uint32_t cityId = 0;
    if (selectedIds(stateId, cityId))
        m_saved->Add({stateId, cityId});
}

// The place shown is always a saved one: chosen without being added, it joins the list at its end (in the last
// place's stead when the list is full).
void CLocationDlg::storeSavedPlaces(std::uint32_t stateId, std::uint32_t cityId)
{
    std::vector<LPlaceId> places = m_saved->places();
    const LPlaceId chosen{stateId, cityId};
    if (std::find(places.begin(), places.end(), chosen) == places.end()) {
        if (places.size() == LPlaceList::MAX_PLACES)
            places.pop_back();
        places.push_back(chosen);
    }
    LPlaceList::Save(*m_keeper, places);
}

} // namespace nimbdesk
