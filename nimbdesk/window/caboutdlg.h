#pragma once

#include <QDialog>

namespace nimbdesk
{

// "About Nimbrel": the icon, the name and version, and where the weather comes from.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};

} // namespace nimbdesk
