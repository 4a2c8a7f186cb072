#pragma once

#include <QComboBox>

namespace qm {

// A drop-down list that announces when its list is about to open, so that it can be refilled first.
class ChoiceCombo : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;

signals:
    void aboutToShowPopup();
};

} // namespace qm
