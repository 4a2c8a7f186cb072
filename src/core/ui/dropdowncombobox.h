#pragma once

#include <QComboBox>

#include <functional>

// A combo box that runs a hook each time its list is about to drop down (to reload its items).
namespace qm {

class DropDownComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void setAboutToDropDown(std::function<void()> hook) { m_aboutToDropDown = std::move(hook); }
    void showPopup() override {
        if (m_aboutToDropDown)
            m_aboutToDropDown();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_aboutToDropDown;
};

} // namespace qm
