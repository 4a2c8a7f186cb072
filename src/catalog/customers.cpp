#include "catalog/customers.h"

#include "core/numtext.h"
#include "core/platform.h"

namespace qm {

namespace {

const QString promptCaption = QStringLiteral("提示");

} // namespace

QString customerRefusal(StoredCustomer& customer) {
    // Blanks and line breaks around a field go: a line break typed or pasted at the end of the address
    // box is no part of the address.
    customer.telephone = trimBlanksAndLineBreaks(oneLineText(customer.telephone));
    customer.name = trimBlanksAndLineBreaks(oneLineText(customer.name));
    customer.address = trimBlanksAndLineBreaks(customer.address);
    if (customer.address.isEmpty())
        return QStringLiteral("地址不能为空，请输地址后重试。");
    if (customer.telephone.isEmpty())
        return QStringLiteral("电话不能为空，请输入电话后重试。");
    if (customer.name.isEmpty())
        return QStringLiteral("姓名不能为空，请输入姓名后重试。");
    return {};
}

CustomerOutcome CustomerActions::add(StoredCustomer typed) {
    if (const QString refusal = customerRefusal(typed); !refusal.isEmpty()) {
        m_platform.showMessage(refusal, MessageIcon::Information);
        return {CustomerOutcome::Kind::Refused, typed, {}};
    }
    // A telephone that cannot be looked up is not taken for a new one: that could store it twice.
    const CustomerStore::Lookup known = m_store.find(typed.telephone);
    if (!known.ok)
        return failed(QStringLiteral("保存失败："));
    const std::optional<StoredCustomer>& stored = known.customer;
    if (!stored)
        return insert(typed);
    const QString question = QStringLiteral("客户电话已经存在，不能重复添加。\r\n电话：") + typed.telephone +
                             QStringLiteral("\r\n姓名：") + stored->name + QStringLiteral("\r\n地址：") +
                             stored->address +
                             QStringLiteral("\r\n是否修改该客户？\r\n\r\n修改请点 是\r\n返回请点 否");
    if (!m_platform.askYesNoDefaultNo(question, MessageIcon::Warning, promptCaption))
        return {CustomerOutcome::Kind::Declined, typed, {}};
    return update(typed);
}

CustomerOutcome CustomerActions::saveChange(StoredCustomer typed) {
    if (const QString refusal = customerRefusal(typed); !refusal.isEmpty()) {
        m_platform.showMessage(refusal, MessageIcon::Information);
        return {CustomerOutcome::Kind::Refused, typed, {}};
    }
    const CustomerStore::Lookup known = m_store.find(typed.telephone);
    if (!known.ok)
        return failed(QStringLiteral("修改失败："));
    if (known.customer)
        return update(typed);
    if (!m_platform.askYesNo(
            QStringLiteral("没有找到相关客户，是否添加该客户？\r\n\r\n添加请点 是\r\n返回请点 否"),
            MessageIcon::Question, promptCaption))
        return {CustomerOutcome::Kind::Declined, typed, {}};
    return insert(typed);
}

CustomerOutcome CustomerActions::remove(const std::optional<StoredCustomer>& selected) {
    if (!selected) {
        m_platform.showMessage(QStringLiteral("请选择要删除的项目。"), MessageIcon::Information);
        return {};
    }
    const QString question = QStringLiteral("客户电话：") + selected->telephone +
                             QStringLiteral("\r\n客户姓名：") + selected->name +
                             QStringLiteral("\r\n客户地址：") + selected->address +
                             QStringLiteral("\r\n\r\n是否删除该客户？");
    if (!m_platform.askYesNo(question, MessageIcon::Question))
        return {CustomerOutcome::Kind::Declined, *selected, {}};
    if (!m_store.removeByTelephone(selected->telephone))
        return failed(QStringLiteral("删除失败："));
    return {CustomerOutcome::Kind::Deleted, *selected, QStringLiteral("处理成功。")};
}

std::optional<QString> CustomerActions::search(const QString& text) {
    if (text.isEmpty()) {
        m_platform.showMessage(QStringLiteral("请输入需要查找的客户电话或姓名。"), MessageIcon::Information,
                               promptCaption);
        return std::nullopt;
    }
    return text;
}

CustomerOutcome CustomerActions::update(const StoredCustomer& customer) {
    if (!m_store.update(customer))
        return failed(QStringLiteral("修改失败："));
    return {CustomerOutcome::Kind::Updated, customer, QStringLiteral("修改完成。")};
}

CustomerOutcome CustomerActions::insert(const StoredCustomer& customer) {
    if (!m_store.insert(customer))
        return failed(QStringLiteral("保存失败："));
    return {CustomerOutcome::Kind::Inserted, customer, QStringLiteral("保存完成。")};
}

CustomerOutcome CustomerActions::failed(const QString& what) {
    m_platform.showMessage(what + m_store.lastError(), MessageIcon::Warning);
    return {CustomerOutcome::Kind::Failed, {}, {}};
}

} // namespace qm
