#include "receipt/ui/kitchenprinttab.h"

#include "core/platform.h"
#include "core/ui/dropdowncombobox.h"
#include "receipt/kitchenslip.h"
#include "receipt/testpage.h"
#include "receipt/ui/printerfields.h"
#include "receipt/ui/printerlists.h"
#include "store/catalogstore.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace qm {

namespace {

QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QWidget* formPage(QFormLayout** layout) {
    auto* page = new QWidget;
    *layout = new QFormLayout(page);
    (*layout)->setContentsMargins(0, 0, 0, 0);
    return page;
}

} // namespace

KitchenPrintTab::KitchenPrintTab(const Database& db, Platform& platform, const Home& home, Validate validate,
                                 QWidget* parent)
    : QWidget(parent)
    , m_platform(platform)
    , m_home(home)
    , m_validate(std::move(validate)) {
    setObjectName(QStringLiteral("后厨打印"));
    m_printers =
        stationPrintersFor(CatalogStore(db).loadNamedList(NamedList::Stations).value_or(QStringList()),
                           loadStationPrinters(home));
    for (const StationPrinter& p : std::as_const(m_printers))
        m_portTexts << QString::number(p.printer.port);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note(QStringLiteral("每个出品部门的后厨单打印到它自己的打印机（本机的设置）。"
                                          "没有设置打印机的部门不打印后厨单；“不出单”的菜不进后厨单。"),
                           this));
    m_stations = new QListWidget(this);
    m_stations->setObjectName(QStringLiteral("列表_出品部门"));
    m_stations->setMaximumHeight(110);
    for (const StationPrinter& p : std::as_const(m_printers))
        m_stations->addItem(p.station);
    layout->addWidget(m_stations);

    m_details = new QWidget(this);
    auto* details = new QVBoxLayout(m_details);
    details->setContentsMargins(0, 0, 0, 0);
    m_kind = new QComboBox(m_details);
    m_kind->setObjectName(QStringLiteral("组合框_后厨打印机类型"));
    m_kind->addItems(stationPrinterKindNames());
    m_paper = new QComboBox(m_details);
    m_paper->setObjectName(QStringLiteral("组合框_后厨纸宽"));
    m_paper->addItems({QStringLiteral("58 毫米"), QStringLiteral("80 毫米")});
    auto* kindRow = new QFormLayout;
    kindRow->addRow(QStringLiteral("打印机："), m_kind);
    kindRow->addRow(QStringLiteral("纸宽："), m_paper);
    details->addLayout(kindRow);

    m_pages = new QStackedWidget(m_details);
    m_pages->setObjectName(QStringLiteral("后厨打印机设置页"));
    m_pages->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    QFormLayout* form = nullptr;
    QWidget* none = formPage(&form);
    form->addRow(note(QStringLiteral("这个部门不打印后厨单。"), none));
    QWidget* network = formPage(&form);
    m_host = new QLineEdit(network);
    m_host->setObjectName(QStringLiteral("编辑框_后厨打印机地址"));
    m_host->setPlaceholderText(QStringLiteral("例如 192.168.1.101"));
    m_port = new QLineEdit(network);
    m_port->setObjectName(QStringLiteral("编辑框_后厨打印机端口"));
    form->addRow(QStringLiteral("地址："), m_host);
    form->addRow(QStringLiteral("端口："), m_port);
    QWidget* usb = formPage(&form);
    m_device = new DropDownComboBox(usb);
    m_device->setObjectName(QStringLiteral("组合框_后厨USB设备"));
    m_device->setEditable(true);
    form->addRow(QStringLiteral("设备："), m_device);
    QWidget* cups = formPage(&form);
    m_queue = new DropDownComboBox(cups);
    m_queue->setObjectName(QStringLiteral("组合框_后厨CUPS队列"));
    m_queue->setEditable(true);
    form->addRow(QStringLiteral("队列："), m_queue);
    for (QWidget* page : {none, network, usb, cups})
        m_pages->addWidget(page);
    details->addWidget(m_pages);

    auto* testPage = new QPushButton(QStringLiteral("打印测试页"), m_details);
    testPage->setObjectName(QStringLiteral("按钮_后厨打印测试页"));
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(testPage);
    testRow->addStretch();
    details->addLayout(testRow);
    layout->addWidget(m_details);
    layout->addStretch();

    listPrintersOnDropDown(m_device, m_queue);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &KitchenPrintTab::showKind);
    connect(m_stations, &QListWidget::currentRowChanged, this, &KitchenPrintTab::showStation);
    connect(testPage, &QPushButton::clicked, this, &KitchenPrintTab::printTestPage);

    m_details->setEnabled(!m_printers.isEmpty());
    if (!m_printers.isEmpty())
        m_stations->setCurrentRow(0);
}

void KitchenPrintTab::keepStation() {
    if (m_shown < 0 || m_shown >= m_printers.size())
        return;
    StationPrinter& p = m_printers[m_shown];
    p.printer.kind = PrinterKind(m_kind->currentIndex());
    p.printer.host = m_host->text();
    p.printer.device = m_device->currentText();
    p.printer.queue = m_queue->currentText();
    p.paperWidthMm = m_paper->currentIndex() == 0 ? 58 : 80;
    m_portTexts[m_shown] = m_port->text();
}

void KitchenPrintTab::showStation(int row) {
    keepStation();
    m_shown = row;
    if (row < 0 || row >= m_printers.size())
        return;
    const StationPrinter& p = m_printers[row];
    m_kind->setCurrentIndex(int(p.printer.kind));
    m_host->setText(p.printer.host);
    m_port->setText(m_portTexts[row]);
    m_device->setCurrentText(p.printer.device);
    m_queue->setCurrentText(p.printer.queue);
    m_paper->setCurrentIndex(p.paperWidthMm == 58 ? 0 : 1);
    showKind();
}

void KitchenPrintTab::showKind() {
    m_pages->setCurrentIndex(m_kind->currentIndex());
    m_paper->setEnabled(m_kind->currentIndex() != int(PrinterKind::System));
}

PrinterField KitchenPrintTab::check(int row) {
    PrintSettingsForm form;
    form.printer = m_printers[row].printer;
    form.portText = m_portTexts[row];
    const PrinterField field = m_validate(form);
    if (field == PrinterField::None)
        m_printers[row].printer = form.printer;
    return field;
}

void KitchenPrintTab::focusField(PrinterField field) {
    focusPrinterBox(field, m_host, m_port, m_device, m_queue);
}

bool KitchenPrintTab::validate() {
    keepStation();
    for (int row = 0; row < m_printers.size(); ++row) {
        if (const PrinterField field = check(row); field != PrinterField::None) {
            m_stations->setCurrentRow(row);
            focusField(field);
            return false;
        }
    }
    return true;
}

bool KitchenPrintTab::apply() {
    if (!validate())
        return false;
    if (const QString error = saveStationPrinters(m_home, m_printers); !error.isEmpty()) {
        m_platform.showMessage(
            QStringLiteral("后厨打印设置保存失败：%1\n%2").arg(error, stationPrintersPath(m_home)),
            MessageIcon::Warning);
        return false;
    }
    return true;
}

void KitchenPrintTab::printTestPage() {
    keepStation();
    const int row = m_shown;
    if (row < 0 || row >= m_printers.size())
        return;
    if (m_printers[row].printer.kind == PrinterKind::System) {
        m_platform.showMessage(QStringLiteral("请先为“%1”选择打印机。").arg(m_printers[row].station),
                               MessageIcon::Information, QStringLiteral("提示"));
        return;
    }
    if (const PrinterField field = check(row); field != PrinterField::None) {
        focusField(field);
        return;
    }
    const int paper = m_printers[row].paperWidthMm;
    qm::printTestPage(m_platform, m_printers[row].printer, paper, slipPrintWidth(paper),
                      QStringLiteral("后厨打印：") + m_printers[row].station);
}

} // namespace qm
