#include "nimbdesk/window/ctextviewdlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace nimbdesk
{

namespace
{

// Products end their lines with "\r\n" and join their messages with "\r\n*****\r\n".
QString withLineFeeds(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

CTextViewDlg::CTextViewDlg(const QString &caption, const QString &text, QWidget *parent)
    : QDialog(parent)
    , m_edit(new QPlainTextEdit(this))
{
    setWindowTitle(caption);
    m_edit->setReadOnly(true);
    m_edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edit->setPlainText(withLineFeeds(text));

    QDialogButtonBox *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    QVBoxLayout *layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);

    // Room for a product's 69-character lines and a screenful of them.
    const QFontMetrics metrics(m_edit->font());
    resize(metrics.horizontalAdvance(QLatin1Char('M')) * 76, metrics.lineSpacing() * 30);
}

QString CTextViewDlg::text() const
{
    return m_edit->toPlainText();
}

void CTextViewDlg::SetText(const QString &text)
{
    const QString shown = withLineFeeds(text);
    if (shown == m_edit->toPlainText())
        return;
    const int top = m_edit->verticalScrollBar()->value();
    m_edit->setPlainText(shown);
    m_edit->verticalScrollBar()->setValue(top);
}

bool CTextViewDlg::ShowAt(const QString &line)
{
    if (line.isEmpty() || !m_edit->find(line))
        return false;
    m_edit->centerCursor();
    // The line starts at the left edge; finding it scrolls to its end.
    m_edit->horizontalScrollBar()->setValue(0);
    return true;
}

QString CTextViewDlg::selectedText() const
{
    return m_edit->textCursor().selectedText();
}

} // namespace nimbdesk
