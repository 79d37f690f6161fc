#pragma once

#include "meteo/location/wplacesearch.h"

#include <QWidget>

#include <cstdint>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace nimbdesk
{

// A search box over every place of the location database, with its results below it: "des moines", "Springfield,
// IL", "50309", "KDSM" or "41.59, -93.62". The results follow each keystroke; Up and Down move among them, and
// Enter or a click chooses one. The places are read on the first keystroke, so that opening costs nothing; a file
// that cannot be read is said in the results.
//
// The process-wide location database must be open while the finder lives.
class CPlaceFinder : public QWidget
{
    Q_OBJECT

public:
    explicit CPlaceFinder(QWidget *parent = nullptr);

signals:
    void placeChosen(std::uint32_t stateId, std::uint32_t cityId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search(const QString &text);
    void listPlaces(const QString &text);
    void showMessage(const QString &text);
    void choose(const QListWidgetItem *item);
    // Enter in the box: the result under the cursor, or the first; true when one was chosen.
    bool chooseCurrent();

    QLineEdit *m_box = nullptr;
    QListWidget *m_results = nullptr;
    meteo::WPlaceSearch m_search;
};

} // namespace nimbdesk
