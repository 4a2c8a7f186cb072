#pragma once

#include "catalog/customers.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPlainTextEdit;

// The dialogs 客户添加 and 客户修改: 编辑框3 telephone, 编辑框2 name, 编辑框1 address (several lines), 按钮1
// "添加" or "修改". A customer that is inserted empties the boxes for the next one and the dialog stays; a
// customer that is updated closes it.
namespace qm {

class CustomerDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Modify };

    // `shown` fills the boxes (modify: the selected row); `follow` lets the list show what an action
    // stored before its message appears.
    CustomerDialog(Mode mode, CustomerActions& actions, const StoredCustomer& shown,
                   std::function<void(const CustomerOutcome&)> follow, Platform& platform,
                   QWidget* parent = nullptr);

    // 按钮1: 添加 or 修改.
    void submit();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The address box takes at most this many GBK bytes from the keyboard.
    static constexpr int addressBytes = 255;
    // Writes the address box from the program, past the typing limit if need be.
    void setAddress(const QString& text);
    void limitAddress();

    Mode m_mode;
    CustomerActions& m_actions;
    std::function<void(const CustomerOutcome&)> m_follow;
    Platform& m_platform;
    QLineEdit* m_telephoneEdit;
    QLineEdit* m_nameEdit;
    QPlainTextEdit* m_addressEdit;
    QString m_acceptedAddress;
};

} // namespace qm
