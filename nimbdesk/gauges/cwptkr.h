#pragma once

#include "nimbdesk/gauges/cwcontrol.h"

#include <QStaticText>
#include <QString>

#include <vector>

namespace nimbdesk
{

// A ticker that scrolls a text on one line from right to left, over and over, with a gap between the end of the text
// and its next start. It stands still while the pointer is over it or it has the keyboard focus, so that it can be
// read at leisure. The delay (5 to 50) is how many milliseconds the text takes to move one pixel: a smaller delay
// scrolls faster.
class CWptkr : public CWcontrol
{
    Q_OBJECT

public:
    static constexpr long MIN_DELAY = 5;
    static constexpr long MAX_DELAY = 50;

    explicit CWptkr(QWidget *parent = nullptr);
    ~CWptkr() override;

    // Both start the text anew from the right edge; "" blanks the ticker.
    void SetText(const QString &text);
    void Scroll(const QString &text);
    // The text as it scrolls: on one line.
    QString GetText() const;
    // Clamped to 5..50.
    void SetDelay(long delay);
    long GetDelay() const;

    // Where the text's left edge stands, in pixels from the ticker's left edge. It falls as the text moves and jumps
    // up by a whole turn (text and gap) once a turn has passed out at the left.
    int offset() const { return m_offset; }
    bool isScrolling() const { return m_beat != 0; }
    bool isPaused() const { return underMouse() || hasKeyboardFocus(); }
    // The timer's interval in milliseconds and the pixels moved per tick for a delay.
    static int intervalFor(long delay);
    static int stepFor(long delay);
    // What moves the tickers: a timer per interval, or, for a test, beats given by hand, so that what a beat does
    // can be checked without waiting for timers on a machine of unknown speed.
    static void setBeatsByHand(bool byHand);
    // One beat of every ticker that scrolls on the interval, as a tick of its timer gives.
    static void beat(int interval);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    class Beat;

    // A stretch of the text, laid out once; only the pieces in sight are drawn.
    struct Piece {
        qreal x = 0;
        qreal width = 0;
        QStaticText text;
    };

    void layoutText();
    qsizetype pieceEnd(qsizetype begin) const;
    void updateTimer();
    void setBeat(int interval);
    void advance();
    void paintTurn(QPainter &painter, int start, qreal top, const QRect &area) const;

    QString m_text;
    std::vector<Piece> m_pieces;
    int m_turn = 0;
    int m_offset = 0;
    long m_delay = 30;
    // The interval of the beat the ticker moves on, 0 while it stands still.
    int m_beat = 0;
};

} // namespace nimbdesk
