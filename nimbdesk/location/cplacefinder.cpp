#include "nimbdesk/location/cplacefinder.h"

#include "meteo/location/wlocationdb.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

using namespace corekit;
using namespace meteo;

namespace nimbdesk
{

namespace
{

constexpr int STATE_ROLE = Qt::UserRole;
constexpr int CITY_ROLE = Qt::UserRole + 1;
// Rows of results shown at once; the list scrolls for the rest.
constexpr int SHOWN_RESULTS = 5;

// What a result shows besides the name: why it was found, where that was not the name itself.
QString resultText(const WPlaceMatch &match)
{
    const QString name = QString::fromStdString(match.name);
    const QString distance = QCoreApplication::translate("CPlaceFinder", "%1 km").arg(match.distanceKm, 0, 'f', 1);
    switch (match.kind) {
    case WPlaceMatchKind::ZipCode:
        return QCoreApplication::translate("CPlaceFinder", "%1 (nearest to the ZIP code, %2)").arg(name, distance);
    case WPlaceMatchKind::Station:
        return QCoreApplication::translate("CPlaceFinder", "%1 (station %2, %3 away)")
            .arg(name, QString::fromStdString(match.station), distance);
    case WPlaceMatchKind::Coordinates:
        return QCoreApplication::translate("CPlaceFinder", "%1 (%2 away)").arg(name, distance);
    default:
        return name;
    }
}

bool isMoveKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

} // namespace

CPlaceFinder::CPlaceFinder(QWidget *parent)
    : QWidget(parent)
    , m_box(new QLineEdit(this))
    , m_results(new QListWidget(this))
{
    m_box->setObjectName(QStringLiteral("placeSearch"));
    m_box->setPlaceholderText(tr("Find a place: name, ZIP code, station or coordinates"));
    m_box->setAccessibleName(tr("Find a place"));
    m_box->setClearButtonEnabled(true);
    m_box->installEventFilter(this);
    setFocusProxy(m_box);
    // As high as the box and the results need; the lists below take the rest.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    m_results->setObjectName(QStringLiteral("placeResults"));
    m_results->setAccessibleName(tr("Places found"));
    m_results->setUniformItemSizes(true);
    m_results->hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);
    layout->addWidget(m_results);
    connect(m_box, &QLineEdit::textChanged, this, &CPlaceFinder::search);
    connect(m_results, &QListWidget::itemClicked, this, &CPlaceFinder::choose);
}

// Moving keys in the box go to the results, so that typing and arrowing mix; Enter chooses.
bool CPlaceFinder::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_box || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return chooseCurrent() || !m_box->text().trimmed().isEmpty();
    if (isMoveKey(key) && m_results->isVisible()) {
        QCoreApplication::sendEvent(m_results, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CPlaceFinder::search(const QString &text)
{
    m_results->clear();
    if (text.trimmed().isEmpty()) {
        m_results->hide();
        return;
    }
    if (!m_search.isLoaded() && m_search.load(WLocationDB::getLocationDB()) != 0)
        showMessage(tr("Places cannot be searched: %1").arg(QString::fromStdString(m_search.getError())));
    else
        listPlaces(text);
    // Rows are all as high as the first, which the style decides; the height is set before the list shows, so that
    // the dialog lays out once.
    m_results->setFixedHeight(m_results->sizeHintForRow(0) * SHOWN_RESULTS + 2 * m_results->frameWidth());
    m_results->show();
}

void CPlaceFinder::listPlaces(const QString &text)
{
    for (const WPlaceMatch &match : m_search.find(text.toStdString())) {
        auto *item = new QListWidgetItem(resultText(match), m_results);
        item->setData(STATE_ROLE, QVariant::fromValue(match.stateId));
        item->setData(CITY_ROLE, QVariant::fromValue(match.cityId));
    }
    if (m_results->count() == 0)
        showMessage(tr("No place found"));
    else
        m_results->setCurrentRow(0);
}

// A message stands in the results as a row that cannot be chosen.
void CPlaceFinder::showMessage(const QString &text)
{
    auto *item = new QListWidgetItem(text, m_results);
    item->setFlags(Qt::NoItemFlags);
}

void CPlaceFinder::choose(const QListWidgetItem *item)
{
    if (item && (item->flags() & Qt::ItemIsEnabled))
        emit placeChosen(item->data(STATE_ROLE).value<std::uint32_t>(), item->data(CITY_ROLE).value<std::uint32_t>());
}

bool CPlaceFinder::chooseCurrent()
{
    const QListWidgetItem *item = m_results->currentItem();
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return false;
    choose(item);
    return true;
}

} // namespace nimbdesk
