#pragma once

#include <QList>
#include <QString>

// The order being edited, as the texts its fields show at one moment. The order form produces it; the
// receipt and the storing of an order read it.
namespace qm {

// One grid row below the header: dish name, quantity text, unit, amount text.
struct OrderLine {
    QString name;
    QString quantity;
    QString unit;
    QString amount;
};

struct OrderFormValues {
    QString orderNumber;    // 编辑框_编号
    QString ticketHeader;   // 组合框_票头
    QString shopName;       // 组合框_店铺名称
    QString orderTime;      // 编辑框_时间, in the display time format
    QList<OrderLine> lines; // every grid row from row 1 on, the empty entry row included
    QString discountName;   // 组合框_减免
    QString discountCount;  // 编辑框_减免份数
    QString discountAmount; // 编辑框_减免金额
    QString total;          // 编辑框_合计
    QString paymentMethod;  // 组合框_付款方式
    QString paid;           // 编辑框_已支付
    QString toPay;          // 编辑框_实付
    QString tableCode;      // 编辑框_时间2 (typed, not stored)
    QString tableName;      // 组合框_桌号
    QString telephone;      // 编辑框_电话
    QString customerName;   // 编辑框_姓名
    QString address;        // 编辑框_地址
    QString note;           // 编辑框_备注
};

} // namespace qm
