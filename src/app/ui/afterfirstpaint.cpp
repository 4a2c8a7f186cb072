#include "app/ui/afterfirstpaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace qm {

namespace {

constexpr int longestWaitMs = 1000;

} // namespace

AfterFirstPaint::AfterFirstPaint(QWidget& window)
    : m_window(window) {
    m_window.installEventFilter(this);
    QTimer::singleShot(longestWaitMs, this, &AfterFirstPaint::painted);
}

void AfterFirstPaint::run(std::function<void()> work) {
    if (m_painted)
        QTimer::singleShot(0, this, std::move(work));
    else
        m_waiting.append(std::move(work));
}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
    // The window's own paint event comes first in its frame; the work is queued behind the rest of the
    // frame and its flush to the screen.
    if (watched == &m_window && event->type() == QEvent::Paint)
        QTimer::singleShot(0, this, &AfterFirstPaint::painted);
    return false;
}

void AfterFirstPaint::painted() {
    if (m_painted)
        return;
    m_painted = true;
    m_window.removeEventFilter(this);
    for (const std::function<void()>& work : std::exchange(m_waiting, {}))
        work();
}

} // namespace qm
