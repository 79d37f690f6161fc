#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace nimbdesk
{

// Shows a ticker's whole text, read-only, as the product was written: its lines and paragraphs kept, in a fixed
// font, since forecasts and bulletins are laid out in columns of about 65 characters. Closing it changes nothing.
class CTextViewDlg : public QDialog
{
    Q_OBJECT

public:
    CTextViewDlg(const QString &caption, const QString &text, QWidget *parent = nullptr);

    // The text shown, with "\n" for each line break.
    QString text() const;
    // Shows a new version of the text where the reader was in the old one.
    void SetText(const QString &text);
    // Selects the first occurrence of the line and scrolls it into view; false when the text does not hold it.
    bool ShowAt(const QString &line);
    // The text selected, "" when none.
    QString selectedText() const;

private:
    QPlainTextEdit *m_edit;
};

} // namespace nimbdesk
