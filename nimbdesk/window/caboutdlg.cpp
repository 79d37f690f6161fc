#include "nimbdesk/window/caboutdlg.h"

#include "nimbdesk/common/appicon.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QStyle>

namespace nimbdesk
{

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    const QString name = QStringLiteral("Nimbrel");
    setWindowTitle(tr("About %1").arg(name));

    QLabel *icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_LargeIconSize) * 2;
    icon->setPixmap(applicationIcon().pixmap(side, side));

    QLabel *title = new QLabel(tr("<b>%1</b> Version %2").arg(name, QStringLiteral(NIMBREL_VERSION)), this);
    QLabel *source = new QLabel(tr("Weather data: the US National Weather Service."), this);
    QLabel *summary = new QLabel(
        tr("Current conditions, the zone forecast and special messages for a place in the United States."), this);
    summary->setWordWrap(true);

    QDialogButtonBox *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    QGridLayout *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(summary, 1, 1);
    layout->addWidget(source, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setHorizontalSpacing(layout->horizontalSpacing() * 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace nimbdesk
