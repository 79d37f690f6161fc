#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;
class QNetworkAccessManager;
class QNetworkReply;

namespace nimbdesk
{

// The names of the alert events, each with a box that mutes it: "Wind Advisory". The names come from the weather
// service's list of event types, asked for without waiting on it and kept for the run; until it answers, or where
// it cannot, its last answer or else a list built in stands, and the line below the list says which.
class CEventList : public QWidget
{
    Q_OBJECT

public:
    // A service that has not answered within this time is treated as offline.
    static constexpr int FETCH_TIMEOUT_MS = 10000;

    explicit CEventList(QWidget *parent = nullptr);

    // Asks "<apiBase>alerts/types"; an empty base keeps the list built in.
    void fetch(const QString &apiBase);
    void setMuted(const QStringList &events);
    QStringList muted() const;

signals:
    void changed();

private:
    void answered(QNetworkReply *reply);
    void fill(QStringList events, const QStringList &checked);
    QStringList names(bool checkedOnly) const;

    QListWidget *m_list;
    QLabel *m_source;
    QNetworkAccessManager *m_network = nullptr;
};

} // namespace nimbdesk
