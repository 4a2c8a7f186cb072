#include "receipt/ui/printerfields.h"

#include "core/ui/dropdowncombobox.h"
#include "receipt/ui/printerlists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace qm {

PrinterFields::PrinterFields(QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("组合框_打印机类型"));
    m_kind->addItems(printerKindNames());
    auto* kindRow = new QFormLayout;
    kindRow->addRow(QStringLiteral("打印机："), m_kind);
    layout->addLayout(kindRow);

    const auto note = [](const QString& text, QWidget* parent) {
        auto* label = new QLabel(text, parent);
        label->setWordWrap(true);
        return label;
    };
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("打印机设置页"));
    m_pages->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    auto* system = new QWidget;
    auto* systemLayout = new QVBoxLayout(system);
    systemLayout->setContentsMargins(0, 0, 0, 0);
    systemLayout->addWidget(note(QStringLiteral("经打印对话框和 CUPS 的打印机驱动打印。"), system));

    auto* network = new QWidget;
    auto* networkLayout = new QFormLayout(network);
    networkLayout->setContentsMargins(0, 0, 0, 0);
    m_host = new QLineEdit(network);
    m_host->setObjectName(QStringLiteral("编辑框_打印机地址"));
    m_host->setPlaceholderText(QStringLiteral("例如 192.168.1.100"));
    m_port = new QLineEdit(network);
    m_port->setObjectName(QStringLiteral("编辑框_打印机端口"));
    networkLayout->addRow(QStringLiteral("地址："), m_host);
    networkLayout->addRow(QStringLiteral("端口："), m_port);
    networkLayout->addRow(note(QStringLiteral("打印机的 IP 地址和端口，端口一般是 9100。"), network));

    auto* usb = new QWidget;
    auto* usbLayout = new QFormLayout(usb);
    usbLayout->setContentsMargins(0, 0, 0, 0);
    m_device = new DropDownComboBox(usb);
    m_device->setObjectName(QStringLiteral("组合框_USB设备"));
    m_device->setEditable(true);
    usbLayout->addRow(QStringLiteral("设备："), m_device);
    usbLayout->addRow(
        note(QStringLiteral("下拉列出找到的打印机设备。没有权限时，请把用户加入 lp 组。"), usb));

    auto* cups = new QWidget;
    auto* cupsLayout = new QFormLayout(cups);
    cupsLayout->setContentsMargins(0, 0, 0, 0);
    m_queue = new DropDownComboBox(cups);
    m_queue->setObjectName(QStringLiteral("组合框_CUPS队列"));
    m_queue->setEditable(true);
    cupsLayout->addRow(QStringLiteral("队列："), m_queue);
    cupsLayout->addRow(
        note(QStringLiteral("不带驱动的 CUPS 队列；打印机关机或缺纸时，小票在队列里等候。"), cups));

    for (QWidget* kind : {system, network, usb, cups})
        m_pages->addWidget(kind);
    layout->addWidget(m_pages);

    m_kickDrawer = new QCheckBox(QStringLiteral("结算后打开钱箱"), this);
    m_kickDrawer->setObjectName(QStringLiteral("选择框_钱箱"));
    m_kickDrawer->setToolTip(QStringLiteral("现金支付的订单结算并打印后，经打印机打开钱箱"));
    layout->addWidget(m_kickDrawer);

    auto* testPage = new QPushButton(QStringLiteral("打印测试页"), this);
    testPage->setObjectName(QStringLiteral("按钮_打印测试页"));
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(testPage);
    testRow->addStretch();
    layout->addLayout(testRow);

    listPrintersOnDropDown(m_device, m_queue);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &PrinterFields::showKind);
    connect(testPage, &QPushButton::clicked, this, &PrinterFields::testPageRequested);
}

void PrinterFields::show(const PrintSettingsForm& form) {
    m_kind->setCurrentIndex(int(form.printer.kind));
    m_host->setText(form.printer.host);
    m_port->setText(form.portText);
    m_device->setCurrentText(form.printer.device);
    m_queue->setCurrentText(form.printer.queue);
    m_kickDrawer->setChecked(form.printer.kickDrawer);
    showKind();
}

void PrinterFields::collect(PrintSettingsForm& form) const {
    form.printer.kind = PrinterKind(m_kind->currentIndex());
    form.printer.host = m_host->text();
    form.portText = m_port->text();
    form.printer.device = m_device->currentText();
    form.printer.queue = m_queue->currentText();
    form.printer.kickDrawer = m_kickDrawer->isChecked();
}

void PrinterFields::showKind() {
    m_pages->setCurrentIndex(m_kind->currentIndex());
    // Only the printers driven directly can pass the kick on to the drawer.
    m_kickDrawer->setEnabled(m_kind->currentIndex() != int(PrinterKind::System));
}

void PrinterFields::focusField(PrinterField field) {
    focusPrinterBox(field, m_host, m_port, m_device, m_queue);
}

void focusPrinterBox(PrinterField field, QLineEdit* host, QLineEdit* port, QWidget* device, QWidget* queue) {
    QWidget* box = nullptr;
    switch (field) {
    case PrinterField::Host:
        box = host;
        break;
    case PrinterField::Port:
        box = port;
        break;
    case PrinterField::Device:
        box = device;
        break;
    case PrinterField::Queue:
        box = queue;
        break;
    case PrinterField::None:
        return;
    }
    box->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->selectAll();
}

} // namespace qm
