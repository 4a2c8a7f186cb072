#include "receipt/ui/printsettingswindow.h"

#include "receipt/kitchenprinters.h"
#include "receipt/ui/kitchenprinttab.h"
#include "receipt/ui/printerfields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qm {

namespace {

const char* const elementLabels[receiptElementCount] = {
    "票头：", "店铺名称：", "支付方式：", "下单时间：", "表单标题：",    "表单内容：",
    "合计：", "减免标题：", "减免内容：", "已支付：",   "桌号送餐信息："};

constexpr int pictureBoxHeight = 64;

} // namespace

PrintSettingsWindow::PrintSettingsWindow(Database& db, Platform& platform, const Home& home,
                                         std::function<void()> afterApply, std::optional<AuditEvent> event,
                                         QWidget* parent)
    : QDialog(parent)
    , m_records(db)
    , m_home(home)
    , m_editor(m_records, home, platform)
    , m_afterApply(std::move(afterApply)) {
    if (event)
        m_editor.recordChangesIn(db, *event);
    setObjectName(QStringLiteral("打印设置"));
    setWindowTitle(QStringLiteral("打印设置"));
    setModal(true);

    m_receiptType = new QComboBox(this);
    m_receiptType->setObjectName(QStringLiteral("组合框_小票类型"));
    m_receiptType->addItems({QStringLiteral("58小票"), QStringLiteral("80小票")});
    m_settingType = new QComboBox(this);
    m_settingType->setObjectName(QStringLiteral("组合框_设置类型"));
    m_settingType->addItems({QStringLiteral("默认设置"), QStringLiteral("自定义")});
    auto* types = new QFormLayout;
    types->addRow(QStringLiteral("小票类型："), m_receiptType);
    types->addRow(QStringLiteral("设置类型："), m_settingType);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("选择夹1"));
    m_tabs->addTab(buildSettingsPage(), QStringLiteral("设置"));
    m_tabs->addTab(buildFontPage(), QStringLiteral("字体设置"));
    m_tabs->addTab(buildPrinterPage(), QStringLiteral("打印机"));
    m_kitchen = new KitchenPrintTab(
        db, platform, home, [this](PrintSettingsForm& form) { return m_editor.validatePrinter(form); }, this);
    m_tabs->addTab(m_kitchen, QStringLiteral("后厨打印"));

    m_copies = new QLineEdit(this);
    m_copies->setObjectName(QStringLiteral("编辑框份数"));
    auto* copies = new QFormLayout;
    copies->addRow(QStringLiteral("小票打印份数："), m_copies);

    auto* apply = new QPushButton(QStringLiteral("应用设置"), this);
    apply->setObjectName(QStringLiteral("按钮2"));
    auto* ok = new QPushButton(QStringLiteral("确认"), this);
    ok->setObjectName(QStringLiteral("按钮1"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(types);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(copies);
    layout->addLayout(buttons);

    fill();

    connect(m_settingType, &QComboBox::currentIndexChanged, this, &PrintSettingsWindow::enableCustomControls);
    connect(m_copies, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString corrected = PrintSettingsEditor::copiesAfterEdit(text);
        if (corrected != text)
            m_copies->setText(corrected);
    });
    connect(m_top.choose, &QPushButton::clicked, this, [this] { choosePicture(m_top); });
    connect(m_bottom.choose, &QPushButton::clicked, this, [this] { choosePicture(m_bottom); });
    connect(apply, &QPushButton::clicked, this, &PrintSettingsWindow::applySettings);
    connect(ok, &QPushButton::clicked, this, &PrintSettingsWindow::confirm);

    resize(331, 517);
}

QWidget* PrintSettingsWindow::buildSettingsPage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    // Ten rows with two pictures: kept close together so that the window opens at its own size.
    layout->setVerticalSpacing(3);

    m_extra1 = new QCheckBox(QStringLiteral("打印附带信息1："), page);
    m_extra1->setObjectName(QStringLiteral("选择框1"));
    m_extra1Text = new QLineEdit(page);
    m_extra1Text->setObjectName(QStringLiteral("编辑框1"));
    m_extra2 = new QCheckBox(QStringLiteral("打印附带信息2："), page);
    m_extra2->setObjectName(QStringLiteral("选择框2"));
    m_extra2Text = new QLineEdit(page);
    m_extra2Text->setObjectName(QStringLiteral("编辑框2"));
    layout->addWidget(m_extra1, 0, 0, 1, 2);
    layout->addWidget(m_extra1Text, 1, 0, 1, 2);
    layout->addWidget(m_extra2, 2, 0, 1, 2);
    layout->addWidget(m_extra2Text, 3, 0, 1, 2);

    buildPictureRow(m_top, QStringLiteral("打印顶部图片："), QStringLiteral("顶部图片"), 1, page);
    buildPictureRow(m_bottom, QStringLiteral("打印底部图片："), QStringLiteral("底部图片"), 2, page);
    int row = 4;
    for (PictureRow* picture : {&m_top, &m_bottom}) {
        layout->addWidget(picture->check, row++, 0, 1, 2);
        layout->addWidget(picture->path, row, 0);
        layout->addWidget(picture->choose, row++, 1);
        layout->addWidget(picture->picture, row++, 0, 1, 2);
    }
    layout->setRowStretch(row, 1);
    return page;
}

void PrintSettingsWindow::buildPictureRow(PictureRow& row, const QString& caption, const QString& suffix,
                                          int number, QWidget* page) {
    row.check = new QCheckBox(caption, page);
    row.check->setObjectName(QStringLiteral("选择框%1").arg(number + 2));
    row.path = new QLineEdit(page);
    row.path->setObjectName(QStringLiteral("编辑框_") + suffix);
    row.path->setReadOnly(true);
    row.choose = new QPushButton(QStringLiteral("选择"), page);
    row.choose->setObjectName(QStringLiteral("顶部图片选择按钮%1").arg(number));
    row.picture = new QLabel(page);
    row.picture->setObjectName(QStringLiteral("图片框%1").arg(number));
    row.picture->setAlignment(Qt::AlignCenter);
    row.picture->setMinimumHeight(pictureBoxHeight);
    row.picture->setFrameShape(QFrame::StyledPanel);
}

QWidget* PrintSettingsWindow::buildFontPage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    auto* range = new QLabel(QStringLiteral("字体大小允许的设定范围 7-30"), page);
    range->setObjectName(QStringLiteral("透明标签7"));
    auto* paid = new QLabel(QStringLiteral("（已支付除外）"), page);
    paid->setObjectName(QStringLiteral("透明标签26"));
    layout->addWidget(range, 0, 0, 1, 3);
    layout->addWidget(paid, 0, 3);
    for (int i = 0; i < receiptElementCount; ++i) {
        const int row = i + 1;
        m_sizes[size_t(i)] = new QLineEdit(page);
        m_sizes[size_t(i)]->setObjectName(QStringLiteral("编辑框字体大小%1").arg(i + 1));
        m_bold[size_t(i)] = new QCheckBox(QStringLiteral("加粗"), page);
        m_bold[size_t(i)]->setObjectName(QStringLiteral("选择框_加粗_%1").arg(i + 1));
        layout->addWidget(new QLabel(QString::fromUtf8(elementLabels[i]), page), row, 0);
        layout->addWidget(new QLabel(QStringLiteral("字体大小："), page), row, 1);
        layout->addWidget(m_sizes[size_t(i)], row, 2);
        layout->addWidget(m_bold[size_t(i)], row, 3);
    }
    layout->setRowStretch(receiptElementCount + 1, 1);
    return page;
}

QWidget* PrintSettingsWindow::buildPrinterPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_printer = new PrinterFields(page);
    layout->addWidget(m_printer);
    layout->addStretch();
    connect(m_printer, &PrinterFields::testPageRequested, this, &PrintSettingsWindow::printTestPage);
    return page;
}

void PrintSettingsWindow::fill() {
    const PrintSettingsForm form = m_editor.fill();
    m_receiptType->setCurrentIndex(form.receiptType);
    m_settingType->setCurrentIndex(form.settingType);
    m_extra1->setChecked(form.extra1);
    m_extra2->setChecked(form.extra2);
    showPicture(m_top, form.top.bytes);
    showPicture(m_bottom, form.bottom.bytes);
    m_extra1Text->setText(form.extra1Text);
    m_extra2Text->setText(form.extra2Text);
    m_top.check->setChecked(form.topPicture);
    m_bottom.check->setChecked(form.bottomPicture);
    m_copies->setText(form.copies);
    for (size_t i = 0; i < m_sizes.size(); ++i) {
        m_sizes[i]->setText(form.sizes[i]);
        m_bold[i]->setChecked(form.bold[i]);
    }
    enableCustomControls();
    m_printer->show(form);
}

PrintSettingsForm PrintSettingsWindow::collect() const {
    PrintSettingsForm form;
    form.receiptType = m_receiptType->currentIndex();
    form.settingType = m_settingType->currentIndex();
    form.extra1 = m_extra1->isChecked();
    form.extra1Text = m_extra1Text->text();
    form.extra2 = m_extra2->isChecked();
    form.extra2Text = m_extra2Text->text();
    form.topPicture = m_top.check->isChecked();
    form.bottomPicture = m_bottom.check->isChecked();
    form.top = {m_top.path->text(), m_top.bytes};
    form.bottom = {m_bottom.path->text(), m_bottom.bytes};
    form.copies = m_copies->text();
    for (size_t i = 0; i < m_sizes.size(); ++i) {
        form.sizes[i] = m_sizes[i]->text();
        form.bold[i] = m_bold[i]->isChecked();
    }
    m_printer->collect(form);
    return form;
}

void PrintSettingsWindow::focusPrinterField(PrinterField field) {
    if (field == PrinterField::None)
        return;
    m_tabs->setCurrentIndex(2);
    m_printer->focusField(field);
}

void PrintSettingsWindow::printTestPage() {
    PrintSettingsForm form = collect();
    const PrinterField invalid = m_editor.validatePrinter(form);
    if (invalid != PrinterField::None) {
        focusPrinterField(invalid);
        return;
    }
    m_editor.printTestPage(form);
}

void PrintSettingsWindow::showPicture(PictureRow& row, const QByteArray& bytes) {
    row.bytes = bytes;
    QPixmap pixmap;
    pixmap.loadFromData(bytes);
    if (!pixmap.isNull() && pixmap.height() > pictureBoxHeight)
        pixmap = pixmap.scaledToHeight(pictureBoxHeight, Qt::SmoothTransformation);
    row.picture->setPixmap(pixmap);
}

void PrintSettingsWindow::choosePicture(PictureRow& row) {
    PicturePick pick;
    if (!m_editor.choosePicture(pick))
        return;
    row.path->setText(pick.path);
    showPicture(row, pick.bytes);
}

void PrintSettingsWindow::enableCustomControls() {
    const bool custom = PrintSettingsEditor::customControlsEnabled(m_settingType->currentIndex());
    for (const PictureRow* row : {&m_top, &m_bottom}) {
        row->check->setEnabled(custom);
        row->path->setEnabled(custom);
        row->choose->setEnabled(custom);
    }
    for (size_t i = 0; i < m_sizes.size(); ++i) {
        m_sizes[i]->setEnabled(custom);
        m_bold[i]->setEnabled(custom);
    }
}

void PrintSettingsWindow::focusSize(int element) {
    QLineEdit* box = m_sizes[size_t(element - 1)];
    m_tabs->setCurrentIndex(1);
    box->setFocus();
    box->selectAll();
}

bool PrintSettingsWindow::applySettings() {
    PrintSettingsForm form = collect();
    // Every tab is checked before anything is stored: a refused apply keeps every setting as it was.
    int invalid = m_editor.validate(form);
    m_copies->setText(form.copies);
    if (invalid != 0) {
        focusSize(invalid);
        return false;
    }
    if (const PrinterField field = m_editor.validatePrinter(form); field != PrinterField::None) {
        focusPrinterField(field);
        return false;
    }
    if (!m_kitchen->validate()) {
        m_tabs->setCurrentWidget(m_kitchen);
        return false;
    }
    PrinterField invalidPrinter = PrinterField::None;
    const auto result = m_editor.apply(form, &invalid, &invalidPrinter);
    m_copies->setText(form.copies);
    if (result == PrintSettingsEditor::ApplyResult::Invalid) {
        focusSize(invalid);
        return false;
    }
    if (result == PrintSettingsEditor::ApplyResult::InvalidPrinter) {
        focusPrinterField(invalidPrinter);
        return false;
    }
    const QString kitchenBefore = stationPrintersText(loadStationPrinters(m_home));
    if (!m_kitchen->apply()) {
        m_tabs->setCurrentWidget(m_kitchen);
        return false;
    }
    m_editor.recordFileChange(kitchenBefore, stationPrintersText(loadStationPrinters(m_home)));
    if (m_afterApply)
        m_afterApply();
    return true;
}

void PrintSettingsWindow::confirm() {
    PrintSettingsForm form = collect();
    const int invalid = m_editor.validate(form);
    m_copies->setText(form.copies);
    if (invalid != 0) {
        focusSize(invalid);
        return;
    }
    if (const PrinterField field = m_editor.validatePrinter(form); field != PrinterField::None) {
        focusPrinterField(field);
        return;
    }
    if (!m_kitchen->validate()) {
        m_tabs->setCurrentWidget(m_kitchen);
        return;
    }
    applySettings();
    accept();
}

void openPrintSettings(QWidget* parent, Database& db, Platform& platform, const Home& home,
                       std::function<void()> afterApply, std::optional<AuditEvent> event) {
    PrintSettingsWindow window(db, platform, home, std::move(afterApply), std::move(event), parent);
    window.exec();
}

} // namespace qm
