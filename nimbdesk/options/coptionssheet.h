#pragma once

#include <QDialog>

#include <vector>

namespace corekit
{
class LKeeper;
}
class QDialogButtonBox;
class QTabWidget;

namespace nimbdesk
{

class CPropertyPage;

// The "Options" sheet: the pages General, Forecast Ticker, Special Messages Ticker, Retrieval and Internet on one
// keeper, with OK, Cancel and Apply. OK and Apply make every page shown so far store its values, after each of them
// accepted its values; a refused value keeps the sheet open on its page with a message, and nothing is stored.
// Cancel stores nothing more. The caller applies the settings after OK; the sheet never interprets them.
class COptionsSheet : public QDialog
{
    Q_OBJECT

public:
    // The keeper is not owned and must outlive the sheet.
    explicit COptionsSheet(corekit::LKeeper *keeper, QWidget *parent = nullptr);

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addPage(CPropertyPage *page);
    void currentChanged(int index);
    // Every loaded page checks its values, then every one stores them; false when a page refused.
    bool applyPages();
    void refuse(int index, const QString &message);
    void updateApply();

    QTabWidget *m_tabs = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    std::vector<CPropertyPage *> m_pages;
    int m_current = 0;
};

} // namespace nimbdesk
