#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace qm {

// A push button named `objectName` that Enter in the window does not press: it is pressed by a click,
// its function key or Space when it has the focus.
QPushButton* plainButton(const QString& objectName, const QString& text, QWidget* parent);

} // namespace qm
