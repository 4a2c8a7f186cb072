#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace qm {

// A push button named `objectName` that Enter in the window does not press (it is no auto-default
// button): a click, a shortcut or Space on the focused button presses it.
QPushButton* plainButton(const QString& objectName, const QString& text, QWidget* parent);

} // namespace qm
