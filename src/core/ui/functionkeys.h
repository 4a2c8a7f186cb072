#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <functional>

namespace qm {

// The function keys F1 to F12 of one window. Installed on the application, it sees every key before the
// control that has the focus: while the key goes to `window` and no modal window, message box, menu or
// open drop-down list is in front, a key acts when it is released, whichever control has the focus. The
// key's press and release are taken away from the controls, so a control never acts on a function key as
// well.
class FunctionKeys : public QObject {
    Q_OBJECT
public:
    // `onKey` receives the Qt key code (Qt::Key_F1 .. Qt::Key_F12).
    FunctionKeys(QWidget* window, std::function<void(int qtKey)> onKey);
    ~FunctionKeys() override;

    static bool isFunctionKey(int qtKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether a key sent to `receiver` is a key of the window, with nothing standing in front of it.
    bool windowInFront(QObject* receiver) const;

    QPointer<QWidget> m_window;
    std::function<void(int)> m_onKey;
    // Keys pressed while the window was in front and not yet released.
    QSet<int> m_pressed;
};

} // namespace qm
