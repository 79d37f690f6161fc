#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

// Shows a ticker's whole text, read-only, as the product was written: its lines and paragraphs kept, in a fixed
// font, since forecasts and bulletins are laid out in columns of about 65 characters. Closing it changes nothing.
class CTextViewDlg : public QDialog
{
    Q_OBJECT

public:
    CTextViewDlg(const QString &caption, const QString &text, QWidget *parent = nullptr);

    // The text shown, with "\n" for each line break.
    QString text() const;

private:
    QPlainTextEdit *m_edit;
};
