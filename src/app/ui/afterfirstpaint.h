#pragma once

#include <QList>
#include <QObject>

#include <functional>

class QWidget;

// What start-up can leave until the main window is on screen: it runs from the event loop once the window
// has painted its first frame, so that the user sees the window without waiting for it.
namespace qm {

class AfterFirstPaint : public QObject {
public:
    // `window` is about to be shown or has just been. A window that is not painted within a second (shown
    // minimised, say) does not hold the work back longer.
    explicit AfterFirstPaint(QWidget& window);

    // Runs `work` from the event loop after the first frame; soon, when that has been painted already.
    void run(std::function<void()> work);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void painted();

    QWidget& m_window;
    bool m_painted = false;
    QList<std::function<void()>> m_waiting;
};

} // namespace qm
