#include "nimbdesk/gauges/cwptkr.h"

#include "nimbdesk/gauges/caccessiblecontrol.h"

#include <QBasicTimer>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <utility>

namespace nimbdesk
{

namespace
{

// Ticks come no closer than this, so that two tickers cost little: at small delays the text moves more than one
// pixel per tick instead.
constexpr int MIN_INTERVAL = 25;
// Pieces end at the first blank after this many characters, or are cut after four times as many.
constexpr qsizetype PIECE_LENGTH = 32;

} // namespace

// One timer per interval for all tickers: tickers on the same beat move in the same pass of the event loop, so one
// repaint of their window serves them all (two tickers with the default delay cost little more than one).
class CWptkr::Beat : public QObject
{
public:
    static void join(CWptkr *ticker, int interval);
    static void leave(CWptkr *ticker, int interval);
    static void setByHand(bool byHand);
    static void tick(int interval);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    static std::map<int, std::unique_ptr<Beat>> &beats();
    static bool &byHand();
    void advanceAll();

    QBasicTimer m_timer;
    std::vector<CWptkr *> m_tickers;
};

std::map<int, std::unique_ptr<CWptkr::Beat>> &CWptkr::Beat::beats()
{
    static std::map<int, std::unique_ptr<Beat>> all;
    return all;
}

bool &CWptkr::Beat::byHand()
{
    static bool given = false;
    return given;
}

void CWptkr::Beat::join(CWptkr *ticker, int interval)
{
    std::unique_ptr<Beat> &beat = beats()[interval];
    if (!beat) {
        beat = std::make_unique<Beat>();
        if (!byHand())
            beat->m_timer.start(interval, Qt::PreciseTimer, beat.get());
    }
    beat->m_tickers.push_back(ticker);
}

void CWptkr::Beat::setByHand(bool given)
{
    byHand() = given;
    for (const auto &[interval, beat] : beats()) {
        if (given)
            beat->m_timer.stop();
        else
            beat->m_timer.start(interval, Qt::PreciseTimer, beat.get());
    }
}

void CWptkr::Beat::tick(int interval)
{
    const auto found = beats().find(interval);
    if (found != beats().end())
        found->second->advanceAll();
}

void CWptkr::Beat::leave(CWptkr *ticker, int interval)
{
    const auto found = beats().find(interval);
    if (found == beats().end())
        return;
    std::vector<CWptkr *> &tickers = found->second->m_tickers;
    std::erase(tickers, ticker);
    if (tickers.empty())
        beats().erase(found);
}

// A minimised window is not drawn; its text waits where it is.
void CWptkr::Beat::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    advanceAll();
}

void CWptkr::Beat::advanceAll()
{
    for (CWptkr *ticker : m_tickers) {
        if (!ticker->window()->isMinimized())
            ticker->advance();
    }
}

CWptkr::CWptkr(QWidget *parent)
    : CWcontrol(parent)
{
    // Scrolling moves the pixels already drawn; only the strip that comes into sight is painted.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

CWptkr::~CWptkr()
{
    setBeat(0);
}

void CWptkr::SetText(const QString &text)
{
    Scroll(text);
}

// Forecasts come as lines of about 65 characters with blank lines between paragraphs; on one line each run of line
// breaks and blanks becomes one blank: ".TONIGHT...\nCloudy." scrolls as ".TONIGHT... Cloudy.".
void CWptkr::Scroll(const QString &text)
{
    m_text = text.simplified();
    layoutText();
    // A paused ticker shows the new text from its start.
    m_offset = isPaused() ? 0 : width();
    updateTimer();
    update();
    CAccessibleControl::announce(this);
}

QString CWptkr::GetText() const
{
    return m_text;
}

void CWptkr::SetDelay(long delay)
{
    m_delay = std::clamp(delay, MIN_DELAY, MAX_DELAY);
    updateTimer();
}

long CWptkr::GetDelay() const
{
    return m_delay;
}

// One pixel per 'delay' milliseconds, in even steps: a delay of 10 moves 3 pixels every 30 ms.
int CWptkr::intervalFor(long delay)
{
    return static_cast<int>(std::clamp(delay, MIN_DELAY, MAX_DELAY)) * stepFor(delay);
}

void CWptkr::setBeatsByHand(bool byHand)
{
    Beat::setByHand(byHand);
}

void CWptkr::beat(int interval)
{
    Beat::tick(interval);
}

int CWptkr::stepFor(long delay)
{
    const int clamped = static_cast<int>(std::clamp(delay, MIN_DELAY, MAX_DELAY));
    return (MIN_INTERVAL + clamped - 1) / clamped;
}

QSize CWptkr::sizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 24, line * 2};
}

QSize CWptkr::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 4, line * 3 / 2};
}

void CWptkr::layoutText()
{
    m_pieces.clear();
    m_turn = 0;
    if (m_text.isEmpty())
        return;
    const QFontMetricsF metrics(font());
    qreal x = 0;
    for (qsizetype begin = 0; begin < m_text.size();) {
        const qsizetype end = pieceEnd(begin);
        const QString part = m_text.mid(begin, end - begin);
        Piece piece{x, metrics.horizontalAdvance(part), QStaticText(part)};
        piece.text.setTextFormat(Qt::PlainText);
        piece.text.setPerformanceHint(QStaticText::AggressiveCaching);
        piece.text.prepare(QTransform(), font());
        x += piece.width;
        m_pieces.push_back(std::move(piece));
        begin = end;
    }
    m_turn = static_cast<int>(std::ceil(x)) + metrics.height() * 3;
}

qsizetype CWptkr::pieceEnd(qsizetype begin) const
{
    const qsizetype longest = std::min(m_text.size(), begin + 4 * PIECE_LENGTH);
    const qsizetype blank = m_text.indexOf(QLatin1Char(' '), begin + PIECE_LENGTH);
    qsizetype end = blank >= 0 && blank < longest ? blank + 1 : longest;
    if (end < m_text.size() && m_text.at(end - 1).isHighSurrogate())
        ++end;
    return end;
}

void CWptkr::updateTimer()
{
    setBeat(!m_pieces.empty() && isVisible() && !isPaused() ? intervalFor(m_delay) : 0);
}

void CWptkr::setBeat(int interval)
{
    if (interval == m_beat)
        return;
    if (m_beat != 0)
        Beat::leave(this, m_beat);
    m_beat = interval;
    if (m_beat != 0)
        Beat::join(this, m_beat);
}

// Once a whole turn has left at the left edge the offset moves up by a turn: the next turn stands where the last
// one stood, so nothing on screen changes and the offset stays small.
void CWptkr::advance()
{
    const int step = stepFor(m_delay);
    m_offset -= step;
    if (m_offset + m_turn <= 0)
        m_offset += m_turn;
    scroll(-step, 0);
}

bool CWptkr::event(QEvent *event)
{
    const bool handled = CWcontrol::event(event);
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::Leave || type == QEvent::FocusIn || type == QEvent::FocusOut)
        updateTimer();
    return handled;
}

void CWptkr::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, backColor());
    painter.setPen(foreColor());
    painter.setFont(font());
    const qreal top = std::round((height() - QFontMetricsF(font()).height()) / 2);
    const int slack = fontMetrics().height();
    for (int start = m_offset; !m_pieces.empty() && start <= area.right() + slack; start += m_turn) {
        if (start + m_turn > area.left())
            paintTurn(painter, start, top, area);
    }
    paintFocus(painter);
}

// Glyphs reach a little beyond their advance (antialiased edges, italics), and only a strip is painted at a time:
// a piece just outside the strip may still own some of its pixels.
void CWptkr::paintTurn(QPainter &painter, int start, qreal top, const QRect &area) const
{
    const qreal slack = fontMetrics().height();
    for (const Piece &piece : m_pieces) {
        const qreal x = start + piece.x;
        if (x > area.right() + slack)
            break;
        if (x + piece.width + slack >= area.left())
            painter.drawStaticText(QPointF(x, top), piece.text);
    }
}

void CWptkr::showEvent(QShowEvent *event)
{
    CWcontrol::showEvent(event);
    updateTimer();
}

void CWptkr::hideEvent(QHideEvent *event)
{
    CWcontrol::hideEvent(event);
    setBeat(0);
}

void CWptkr::changeEvent(QEvent *event)
{
    CWcontrol::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        layoutText();
        update();
    }
}

// Text still waiting beyond the right edge of a narrower ticker starts in at its new edge.
void CWptkr::resizeEvent(QResizeEvent *event)
{
    CWcontrol::resizeEvent(event);
    m_offset = std::min(m_offset, width());
}

} // namespace nimbdesk
