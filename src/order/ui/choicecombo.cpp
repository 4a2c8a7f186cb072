#include "order/ui/choicecombo.h"

namespace qm {

void ChoiceCombo::showPopup() {
    emit aboutToShowPopup();
    QComboBox::showPopup();
}

} // namespace qm
