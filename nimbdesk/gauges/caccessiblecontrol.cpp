#include "nimbdesk/gauges/caccessiblecontrol.h"

#include "nimbdesk/gauges/cwgauge.h"
#include "nimbdesk/gauges/cwptkr.h"
#include "nimbdesk/gauges/spokenreading.h"

#include <QDateTime>
#include <QGroupBox>
#include <QLocale>

namespace nimbdesk
{

namespace
{

// The dynamic property that holds a gauge's observation time as it is said: "1:54 PM".
constexpr const char *OBSERVED = "nimbrelObserved";

QAccessibleInterface *displayControlFactory(const QString &, QObject *object)
{
    auto *control = qobject_cast<CWcontrol *>(object);
    return control ? new CAccessibleControl(control) : nullptr;
}

} // namespace

CAccessibleControl::CAccessibleControl(QWidget *control)
    : QAccessibleWidget(control, QAccessible::StaticText)
{
}

QString CAccessibleControl::text(QAccessible::Text kind) const
{
    switch (kind) {
    case QAccessible::Name:
        return widget()->accessibleName().isEmpty() ? frameTitle() : widget()->accessibleName();
    case QAccessible::Value:
        return reading();
    case QAccessible::Description: {
        QString description = reading();
        const QString observed = widget()->property(OBSERVED).toString();
        if (!observed.isEmpty())
            description += QObject::tr(", observed %1").arg(observed);
        const auto *gauge = qobject_cast<const CWgauge *>(widget());
        if (gauge && gauge->IsStale())
            description += QObject::tr(", an old reading");
        const QString title = frameTitle();
        return title.isEmpty() || description.isEmpty() ? description : title + QStringLiteral(", ") + description;
    }
    default:
        return QAccessibleWidget::text(kind);
    }
}

void CAccessibleControl::install()
{
    QAccessible::installFactory(displayControlFactory);
}

void CAccessibleControl::announce(QWidget *control)
{
    QAccessibleEvent event(control, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void CAccessibleControl::announceObservation(std::initializer_list<CWgauge *> gauges, std::int64_t observed)
{
    const QString time = observed < 0
        ? QString()
        : QLocale().toString(QDateTime::fromSecsSinceEpoch(observed).time(), QLocale::ShortFormat);
    announceObservation(gauges, time);
}

void CAccessibleControl::announceObservation(std::initializer_list<CWgauge *> gauges, const QString &observed)
{
    for (CWgauge *gauge : gauges) {
        gauge->setProperty(OBSERVED, observed);
        announce(gauge);
    }
}

// "&Temperature" is read "Temperature".
QString CAccessibleControl::frameTitle() const
{
    const auto *frame = qobject_cast<const QGroupBox *>(widget()->parentWidget());
    return frame ? QString(frame->title()).remove(QLatin1Char('&')) : QString();
}

QString CAccessibleControl::reading() const
{
    if (const auto *gauge = qobject_cast<const CWgauge *>(widget()))
        return spokenReading(*gauge);
    if (const auto *ticker = qobject_cast<const CWptkr *>(widget()))
        return ticker->GetText();
    return QString();
}

} // namespace nimbdesk
