#include "nimbdesk/location/csavedplacesedit.h"

#include "nimbdesk/places/placename.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

using namespace settings;

namespace nimbdesk
{

CSavedPlacesEdit::CSavedPlacesEdit(QWidget *parent)
    : QWidget(parent)
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("savedPlaces"));
    m_list->setAccessibleName(tr("My places"));
    m_list->installEventFilter(this);
    auto *label = new QLabel(tr("&My places"), this);
    label->setBuddy(m_list);
    auto *column = new QVBoxLayout;
    column->addWidget(label);
    column->addWidget(m_list, 1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(column, 1);
    layout->addWidget(buttonColumn());
    connect(m_list, &QListWidget::currentRowChanged, this, &CSavedPlacesEdit::enableButtons);
    enableButtons();
}

void CSavedPlacesEdit::SetPlaces(const std::vector<LPlaceId> &places)
{
    m_places = places;
    refill(m_places.empty() ? -1 : 0);
}

bool CSavedPlacesEdit::Add(const LPlaceId &place)
{
    if (!HasRoom() || std::find(m_places.begin(), m_places.end(), place) != m_places.end())
        return false;
    m_places.push_back(place);
    refill(static_cast<int>(m_places.size()) - 1);
    return true;
}

bool CSavedPlacesEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_list || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Delete) {
        removeSelected();
        return true;
    }
    if (key->modifiers() == Qt::AltModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
        moveSelected(key->key() == Qt::Key_Up ? -1 : 1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QWidget *CSavedPlacesEdit::buttonColumn()
{
    auto *buttons = new QWidget(this);
    auto *layout = new QVBoxLayout(buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto button = [buttons, layout](const QString &text, const char *name) {
        auto *made = new QPushButton(text, buttons);
        made->setObjectName(QLatin1String(name));
        made->setAutoDefault(false);
        layout->addWidget(made);
        return made;
    };
    m_add = button(tr("&Add to my places"), "addPlace");
    m_remove = button(tr("&Remove"), "removePlace");
    m_up = button(tr("Move &up"), "placeUp");
    m_down = button(tr("Move do&wn"), "placeDown");
    layout->addStretch(1);
    connect(m_add, &QPushButton::clicked, this, &CSavedPlacesEdit::addRequested);
    connect(m_remove, &QPushButton::clicked, this, &CSavedPlacesEdit::removeSelected);
    connect(m_up, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { moveSelected(1); });
    return buttons;
}

void CSavedPlacesEdit::removeSelected()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    m_places.erase(m_places.begin() + row);
    refill(std::min(row, static_cast<int>(m_places.size()) - 1));
}

void CSavedPlacesEdit::moveSelected(int step)
{
    const int row = m_list->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= static_cast<int>(m_places.size()))
        return;
    std::swap(m_places[static_cast<std::size_t>(row)], m_places[static_cast<std::size_t>(target)]);
    refill(target);
}

void CSavedPlacesEdit::refill(int selectedRow)
{
    m_list->clear();
    for (const LPlaceId &place : m_places) {
        const QString name = placeName(place);
        m_list->addItem(name.isEmpty() ? QString::fromStdString(place.text()) : name);
    }
    m_list->setCurrentRow(selectedRow);
    enableButtons();
}

void CSavedPlacesEdit::enableButtons()
{
    const int row = m_list->currentRow();
    m_add->setEnabled(HasRoom());
    m_remove->setEnabled(row >= 0);
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row + 1 < static_cast<int>(m_places.size()));
}

} // namespace nimbdesk
