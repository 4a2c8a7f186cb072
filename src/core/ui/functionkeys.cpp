#include "core/ui/functionkeys.h"

#include <QApplication>
#include <QKeyEvent>

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

bool FunctionKeys::windowInFront() const {
    // An open menu or drop-down list stands in front as well: a key acting behind it would run a command
    // while the menu still waits to act on the form.
    return m_window && QApplication::activeWindow() == m_window && !QApplication::activeModalWidget() &&
           !QApplication::activePopupWidget();
}

bool FunctionKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (!isFunctionKey(key->key()) || !windowInFront())
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
