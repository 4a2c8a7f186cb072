#include "core/ui/plainbutton.h"

#include <QPushButton>

namespace qm {

QPushButton* plainButton(const QString& objectName, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

} // namespace qm
