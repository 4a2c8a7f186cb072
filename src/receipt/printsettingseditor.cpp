#include "receipt/printsettingseditor.h"

#include "core/home.h"
#include "core/numtext.h"
#include "core/platform.h"
#include "receipt/receiptpictures.h"
#include "receipt/testpage.h"
#include "store/database.h"
#include "store/settings.h"
#include "store/tillfile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace qm {

namespace {

const QString sizeKey = QStringLiteral("字体大小");
const QString boldKey = QStringLiteral("勾选加粗");

// Elements in the order they are checked: the amount paid first, which may also be 0.
constexpr std::array<int, receiptElementCount> checkOrder{10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11};
constexpr int paidElement = 10;

bool sizeValid(int element, const QString& text) {
    const int size = textToInt(text);
    return (size >= 7 && size <= 30) || (element == paidElement && size == 0);
}

QString flagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString printSettingsText(const PrintSettingsForm& f) {
    const auto shown = [](bool on, const QString& text) {
        return (on ? QStringLiteral("打印") : QStringLiteral("不打印")) + text;
    };
    const auto picture = [&](bool on, const PicturePick& pick) {
        return shown(on, pick.path.isEmpty() ? QString() : QStringLiteral("（新图片）"));
    };
    QStringList sizes;
    QStringList bold;
    for (size_t i = 0; i < f.sizes.size(); ++i) {
        sizes << QString::number(textToInt(f.sizes[i]));
        bold << flagText(f.bold[i]);
    }
    return QStringList{
        QStringLiteral("小票类型：") +
            (f.receiptType == 0 ? QStringLiteral("58小票") : QStringLiteral("80小票")),
        QStringLiteral("设置类型：") +
            (f.settingType == 0 ? QStringLiteral("默认设置") : QStringLiteral("自定义")),
        QStringLiteral("附带信息1：") + shown(f.extra1, QStringLiteral(" ") + f.extra1Text),
        QStringLiteral("附带信息2：") + shown(f.extra2, QStringLiteral(" ") + f.extra2Text),
        QStringLiteral("顶部图片：") + picture(f.topPicture, f.top),
        QStringLiteral("底部图片：") + picture(f.bottomPicture, f.bottom),
        QStringLiteral("打印份数：") + QString::number(textToInt(f.copies)),
        QStringLiteral("字体大小：") + sizes.join(QLatin1Char('|')),
        QStringLiteral("勾选加粗：") + bold.join(QLatin1Char('|')),
        QStringLiteral("打印机：") + f.printer.describe() +
            (f.printer.kickDrawer ? QStringLiteral("，结算后打开钱箱") : QString()),
    }
        .join(QLatin1Char('\n'));
}

PrintSettingsEditor::PrintSettingsEditor(const RecordStore& records, const Home& home, Platform& platform)
    : m_records(records)
    , m_home(home)
    , m_platform(platform) {}

PrintSettingsForm PrintSettingsEditor::fill() const {
    PrintSettingsForm form;
    form.receiptType = textToInt(m_records.read(QStringLiteral("小票类型"))) == 0 ? 0 : 1;
    form.settingType = textToInt(m_records.read(QStringLiteral("设置类型"))) == 0 ? 0 : 1;
    form.extra1 = m_records.read(QStringLiteral("附带信息1勾选")) == QStringLiteral("1");
    form.extra2 = m_records.read(QStringLiteral("附带信息2勾选")) == QStringLiteral("1");
    form.top.bytes = shownPictureBytes(m_home, PicturePlace::Top);
    form.bottom.bytes = shownPictureBytes(m_home, PicturePlace::Bottom);
    form.extra1Text = m_records.read(QStringLiteral("附带信息1"), extraLine1DesignText);
    form.extra2Text = m_records.read(QStringLiteral("附带信息2"), extraLine2DesignText);
    form.topPicture = m_records.read(QStringLiteral("顶部图片勾选")) == QStringLiteral("1");
    form.bottomPicture = m_records.read(QStringLiteral("底部图片勾选")) == QStringLiteral("1");
    form.copies = m_records.read(QStringLiteral("打印份数"));
    form.sizes = splitElementList(m_records.read(sizeKey));
    const auto bold = splitElementList(m_records.read(boldKey));
    for (size_t i = 0; i < bold.size(); ++i)
        form.bold[i] = textToInt(bold[i]) != 0;
    form.printer = loadPrinterChoice(m_records, TillFile(m_home.tillPath()));
    form.portText = QString::number(form.printer.port);
    return form;
}

QString PrintSettingsEditor::copiesAfterEdit(const QString& text) {
    return textToInt(text) <= 0 ? QStringLiteral("1") : text;
}

int PrintSettingsEditor::validate(PrintSettingsForm& form) const {
    const int copies = textToInt(form.copies);
    if (copies <= 0)
        form.copies = QStringLiteral("1");
    else if (copies > 4)
        form.copies = QStringLiteral("4");

    for (int element : checkOrder) {
        if (sizeValid(element, form.sizes[size_t(element - 1)]))
            continue;
        const QString text =
            element == paidElement
                ? QStringLiteral("已支付 字体大小超出设定，请将字体大小控制在数值 7-30 的范围内。\r\n"
                                 "注意：已支付 字体大小数值设置为 0 时打印及预览将不显示 已支付 ")
                : QStringLiteral("字体大小超出设定，请将字体大小控制在数值 7-30 的范围内。");
        m_platform.showMessage(text, MessageIcon::Information, QStringLiteral("提示"));
        return element;
    }
    return 0;
}

PrintSettingsEditor::ApplyResult PrintSettingsEditor::apply(PrintSettingsForm& form, int* invalidElement,
                                                            PrinterField* invalidPrinter) const {
    const int invalid = validate(form);
    if (invalidElement)
        *invalidElement = invalid;
    if (invalid != 0)
        return ApplyResult::Invalid;
    const PrinterField printer = validatePrinter(form);
    if (invalidPrinter)
        *invalidPrinter = printer;
    if (printer != PrinterField::None)
        return ApplyResult::InvalidPrinter;
    if (!m_records.exists(sizeKey)) {
        m_platform.showMessage(QStringLiteral("设置失败.错误7763"), MessageIcon::None);
        return ApplyResult::Refused;
    }

    const QString before = printSettingsText(fill());
    // A picture box left empty by an unreadable file does not wipe the picture in use.
    for (const auto& [picture, place] :
         {std::pair{&form.top, PicturePlace::Top}, {&form.bottom, PicturePlace::Bottom}}) {
        if (picture->path.isEmpty() || picture->bytes.isEmpty())
            continue;
        // A picture that cannot be kept is told, and nothing else of the settings changes.
        if (const QString error = writePictureFile(m_home, place, picture->bytes); !error.isEmpty()) {
            m_platform.showMessage(
                QStringLiteral("图片保存失败：%1\n%2").arg(error, picturePath(m_home, place)),
                MessageIcon::Warning);
            return ApplyResult::Refused;
        }
    }
    if (!savePrinterChoice(TillFile(m_home.tillPath()), form.printer)) {
        m_platform.showMessage(QStringLiteral("打印机设置保存失败：无法写入 %1").arg(m_home.tillPath()),
                               MessageIcon::Warning);
        return ApplyResult::Refused;
    }

    const auto storeRows = [&] {
        QStringList sizes;
        QStringList bold;
        for (size_t i = 0; i < form.sizes.size(); ++i) {
            sizes << QString::number(textToInt(form.sizes[i]));
            bold << flagText(form.bold[i]);
        }
        const std::pair<QString, QString> rows[] = {
            {QStringLiteral("小票类型"), QString::number(form.receiptType)},
            {QStringLiteral("设置类型"), QString::number(form.settingType)},
            {QStringLiteral("附带信息1勾选"), flagText(form.extra1)},
            {QStringLiteral("附带信息2勾选"), flagText(form.extra2)},
            {QStringLiteral("顶部图片勾选"), flagText(form.topPicture)},
            {QStringLiteral("底部图片勾选"), flagText(form.bottomPicture)},
            {QStringLiteral("附带信息1"), form.extra1Text},
            {QStringLiteral("附带信息2"), form.extra2Text},
            {QStringLiteral("打印份数"), QString::number(textToInt(form.copies))},
            {sizeKey, sizes.join(QLatin1Char('|'))},
            {boldKey, bold.join(QLatin1Char('|'))},
        };
        for (const auto& [key, value] : rows) {
            if (!m_records.update(key, value))
                return false;
        }
        return true;
    };
    bool stored = false;
    QString failure;
    if (m_auditDb && m_event) {
        AuditEvent event = *m_event;
        event.time = m_platform.now();
        event.before = before;
        event.after = printSettingsText(form);
        stored = m_auditDb->transaction(
            [&] { return storeRows() && (event.before == event.after || appendAudit(*m_auditDb, event)); });
        failure = m_auditDb->lastError();
    } else {
        stored = storeRows();
        failure = m_records.lastError();
    }
    if (!stored) {
        m_platform.showMessage(QStringLiteral("打印设置保存失败：") + failure, MessageIcon::Warning);
        return ApplyResult::Refused;
    }
    return ApplyResult::Saved;
}

void PrintSettingsEditor::recordFileChange(const QString& before, const QString& after) const {
    if (!m_auditDb || !m_event || before == after)
        return;
    AuditEvent event = *m_event;
    event.time = m_platform.now();
    event.before = before;
    event.after = after;
    if (!m_auditDb->transaction([&] { return appendAudit(*m_auditDb, event); }))
        m_platform.showMessage(QStringLiteral("设置已保存，但未能记入操作记录：") + m_auditDb->lastError(),
                               MessageIcon::Warning);
}

PrinterField PrintSettingsEditor::validatePrinter(PrintSettingsForm& form) const {
    PrinterChoice& printer = form.printer;
    printer.host = trimBlanks(printer.host);
    printer.device = trimBlanks(printer.device);
    printer.queue = trimBlanks(printer.queue);
    const auto refuse = [this](PrinterField field, const QString& text) {
        m_platform.showMessage(text, MessageIcon::Information, QStringLiteral("提示"));
        return field;
    };
    bool portOk = false;
    const int port = trimBlanks(foldFullWidth(form.portText)).toInt(&portOk);
    portOk = portOk && port >= 1 && port <= 65535;
    // Another printer kind keeps the port as it keeps the address, for a return to the network printer;
    // a port box it leaves unreadable keeps the stored port.
    printer.port = portOk ? port : loadPrinterChoice(m_records, TillFile(m_home.tillPath())).port;
    switch (printer.kind) {
    case PrinterKind::System:
        break;
    case PrinterKind::Network:
        if (printer.host.isEmpty())
            return refuse(PrinterField::Host, QStringLiteral("请填写网络打印机的 IP 地址或主机名。"));
        if (!portOk)
            return refuse(PrinterField::Port,
                          QStringLiteral("端口须是 1 到 65535 之间的整数，一般是 9100。"));
        break;
    case PrinterKind::Usb:
        if (printer.device.isEmpty())
            return refuse(PrinterField::Device,
                          QStringLiteral("请选择 USB 打印机的设备，例如 /dev/usb/lp0。"));
        break;
    case PrinterKind::CupsRaw:
        if (printer.queue.isEmpty())
            return refuse(PrinterField::Queue, QStringLiteral("请选择 CUPS 原始队列。"));
        break;
    }
    return PrinterField::None;
}

bool PrintSettingsEditor::printTestPage(PrintSettingsForm& form) const {
    if (validatePrinter(form) != PrinterField::None)
        return false;
    const ReceiptType type = form.receiptType == 0 ? ReceiptType::Mm58 : ReceiptType::Mm80;
    return qm::printTestPage(m_platform, form.printer, type == ReceiptType::Mm58 ? 58 : 80,
                             printWidthFor(ConfigFile(m_home.configPath()), type),
                             m_records.read(QStringLiteral("店铺名称")));
}

bool PrintSettingsEditor::choosePicture(PicturePick& pick) const {
    const QString path =
        m_platform.openFileName(QStringLiteral("选择图片"), QStringLiteral("PNG图片 (*.png)"));
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    pick.path = path;
    pick.bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();

    QBuffer buffer(&pick.bytes);
    const QSize size = QImageReader(&buffer).size();
    if (size.width() > 430 || size.height() > 430) {
        m_platform.showMessage(
            QStringLiteral("选用图片时建议选用较低清晰度的图片，图片过于清晰将影响您的打印速度。"),
            MessageIcon::Warning);
    }
    return true;
}

} // namespace qm
