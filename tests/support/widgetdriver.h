#pragma once

#include <QPushButton>
#include <QString>
#include <QTest>
#include <QWidget>

// Driving a window as the cashier would: finding its controls by name, clicking, typing.
namespace qm {

// The control `name` of the window; a missing one ends the test with its name.
template <typename T> T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromUtf8(name));
    if (!found)
        qFatal("no control %s in %s", name, qPrintable(window.objectName()));
    return found;
}

inline void click(QWidget& window, const char* button) {
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

// Types the text key by key (Chinese characters included), as the keyboard would.
inline void typeKeys(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace qm
