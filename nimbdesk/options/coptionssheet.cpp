#include "nimbdesk/options/coptionssheet.h"

#include "nimbdesk/options/cgeneralppg.h"
#include "nimbdesk/options/cinternetppg.h"
#include "nimbdesk/options/cnotifyppg.h"
#include "nimbdesk/options/cretrievalppg.h"
#include "nimbdesk/options/ctickerppg.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

COptionsSheet::COptionsSheet(LKeeper *keeper, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Options"));
    m_tabs = new QTabWidget(this);
    // Every tab in sight: the sheet grows to hold them rather than hiding some behind arrows.
    m_tabs->setUsesScrollButtons(false);
    addPage(new CGeneralPpg(keeper));
    addPage(new CTickerPpg(keeper, CTickerPpg::Kind::Forecast));
    addPage(new CTickerPpg(keeper, CTickerPpg::Kind::Warnings));
    addPage(new CRetrievalPpg(keeper));
    addPage(new CInternetPpg(keeper));
    addPage(new CNotifyPpg(keeper));
    connect(m_tabs, &QTabWidget::currentChanged, this, &COptionsSheet::currentChanged);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);
    connect(m_buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { applyPages(); });
    updateApply();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
}

void COptionsSheet::accept()
{
    if (applyPages())
        QDialog::accept();
}

void COptionsSheet::showEvent(QShowEvent *event)
{
    m_pages[static_cast<std::size_t>(m_current)]->ensureLoaded();
    QDialog::showEvent(event);
}

void COptionsSheet::addPage(CPropertyPage *page)
{
    m_pages.push_back(page);
    m_tabs->addTab(page, page->caption());
    connect(page, &CPropertyPage::modifiedChanged, this, &COptionsSheet::updateApply);
}

// The page left behind has to accept its values before another one comes to the front; the new page loads before
// it is first painted.
void COptionsSheet::currentChanged(int index)
{
    if (index == m_current || index < 0)
        return;
    const QString refusal = m_pages[static_cast<std::size_t>(m_current)]->checkData();
    if (!refusal.isEmpty()) {
        refuse(m_current, refusal);
        return;
    }
    m_current = index;
    m_pages[static_cast<std::size_t>(index)]->ensureLoaded();
}

bool COptionsSheet::applyPages()
{
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        if (!m_pages[i]->isLoaded())
            continue;
        const QString refusal = m_pages[i]->checkData();
        if (!refusal.isEmpty()) {
            refuse(static_cast<int>(i), refusal);
            return false;
        }
    }
    for (CPropertyPage *page : m_pages)
        page->apply();
    return true;
}

// The message is window-modal but opened without a nested event loop, so the sheet's caller and its tests keep
// running; the page at fault stays in front.
void COptionsSheet::refuse(int index, const QString &message)
{
    m_tabs->setCurrentIndex(index);
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void COptionsSheet::updateApply()
{
    bool modified = false;
    for (const CPropertyPage *page : m_pages)
        modified = modified || page->isModified();
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(modified);
}

} // namespace nimbdesk
