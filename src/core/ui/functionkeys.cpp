#include "core/ui/functionkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

namespace qm {

FunctionKeys::FunctionKeys(QWidget* window, std::function<void(int qtKey)> onKey)
    : QObject(window)
    , m_window(window)
    , m_onKey(std::move(onKey)) {
    qApp->installEventFilter(this);
}

FunctionKeys::~FunctionKeys() {
    qApp->removeEventFilter(this);
}

bool FunctionKeys::isFunctionKey(int qtKey) {
    return qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12;
}

bool FunctionKeys::windowInFront(QObject* receiver) const {
    // The window in front is the one the key goes to. Without a window manager (a bare X server) the
    // window never counts as active, and after a dialog closes it is not made active again, so the
    // receiver decides, not QApplication::activeWindow().
    // An open menu or drop-down list stands in front as well: a key acting behind it would run a command
    // while the menu still waits to act on the form.
    if (!m_window || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    if (auto* widget = qobject_cast<QWidget*>(receiver))
        return widget->window() == m_window;
    return receiver == m_window->windowHandle();
}

bool FunctionKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (!isFunctionKey(key->key()) || !windowInFront(watched))
        return QObject::eventFilter(watched, event);

    switch (type) {
    case QEvent::ShortcutOverride:
        // Claimed here so that no shortcut of a control takes the key first.
        event->accept();
        return true;
    case QEvent::KeyPress:
        m_pressed.insert(key->key());
        return true;
    default:
        // Auto-repeat sends releases while the key is still held: only the real release acts.
        if (!key->isAutoRepeat() && m_pressed.remove(key->key()))
            m_onKey(key->key());
        return true;
    }
}

} // namespace qm
