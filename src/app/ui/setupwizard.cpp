#include "app/ui/setupwizard.h"

#include "catalog/catalogimports.h"
#include "catalog/ui/importdialog.h"
#include "receipt/ui/printerfields.h"
#include "store/database.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm {

namespace {

QPlainTextEdit* linesBox(const QString& name, const QStringList& lines, QWidget* parent) {
    auto* box = new QPlainTextEdit(lines.join(QLatin1Char('\n')), parent);
    box->setObjectName(name);
    box->setTabChangesFocus(true);
    box->setFixedHeight(64);
    return box;
}

QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// A group of radio buttons, one per text, the first checked; each button's id is its index.
QButtonGroup* choiceButtons(const QString& name, const QStringList& texts, QVBoxLayout* layout,
                            QWidget* parent) {
    auto* group = new QButtonGroup(parent);
    group->setObjectName(name);
    for (int i = 0; i < texts.size(); ++i) {
        auto* button = new QRadioButton(texts[i], parent);
        button->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i + 1));
        group->addButton(button, i);
        layout->addWidget(button);
    }
    group->button(0)->setChecked(true);
    return group;
}

} // namespace

SetupWizard::SetupWizard(Database& db, const Home& home, Platform& platform, std::function<void()> afterPage,
                         const RunModal& runModal, QWidget* parent)
    : QWizard(parent)
    , m_db(db)
    , m_platform(platform)
    , m_runModal(runModal)
    , m_afterPage(std::move(afterPage))
    , m_setup(db, home, platform) {
    setObjectName(QStringLiteral("开店向导"));
    setWindowTitle(QStringLiteral("开店向导"));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage);
    setButtonText(QWizard::BackButton, QStringLiteral("< 上一步(&B)"));
    setButtonText(QWizard::NextButton, QStringLiteral("下一步(&N) >"));
    setButtonText(QWizard::FinishButton, QStringLiteral("完成(&F)"));
    setButtonText(QWizard::CancelButton, QStringLiteral("跳过(&S)"));
    button(QWizard::CancelButton)->setObjectName(QStringLiteral("按钮_跳过"));
    button(QWizard::NextButton)->setObjectName(QStringLiteral("按钮_下一步"));
    button(QWizard::BackButton)->setObjectName(QStringLiteral("按钮_上一步"));
    button(QWizard::FinishButton)->setObjectName(QStringLiteral("按钮_完成"));
    setPage(ShopPage, buildShopPage());
    setPage(PrinterPage, buildPrinterPage());
    setPage(PicturePage, buildPicturePage());
    setPage(MenuPage, buildMenuPage());
    resize(560, 440);
}

QWizardPage* SetupWizard::buildShopPage() {
    auto* page = new QWizardPage;
    page->setTitle(QStringLiteral("店铺"));
    page->setSubTitle(QStringLiteral("小票上印的店名、票头和电话。不改就直接点“下一步”。"));
    auto* layout = new QFormLayout(page);
    m_shopNames = linesBox(QStringLiteral("编辑框_店铺名称"), {}, page);
    m_shopNames->setPlaceholderText(QStringLiteral("每行一个，例如 老王饺子馆"));
    m_ticketHeaders = linesBox(QStringLiteral("编辑框_票头"), {}, page);
    m_ticketHeaders->setPlaceholderText(QStringLiteral("每行一个，例如 欢迎光临"));
    m_replaceSamples = new QCheckBox(QStringLiteral("删除示例店名和示例票头"), page);
    m_replaceSamples->setObjectName(QStringLiteral("选择框_替换示例"));
    m_telephone = new QLineEdit(m_setup.telephoneLine(), page);
    m_telephone->setObjectName(QStringLiteral("编辑框_电话行"));
    m_telephone->setPlaceholderText(QStringLiteral("例如 订餐电话:0531-88886666（空着不印）"));
    layout->addRow(QStringLiteral("店铺名称："), m_shopNames);
    layout->addRow(QStringLiteral("票头："), m_ticketHeaders);
    layout->addRow(QString(), m_replaceSamples);
    layout->addRow(QStringLiteral("电话行："), m_telephone);
    layout->addRow(note(QStringLiteral("店名和票头以后可在 设置菜单 → 店名设置、票头设置 中修改；"
                                       "电话行是 打印设置 里的附带信息1。"),
                        page));
    return page;
}

QWizardPage* SetupWizard::buildPrinterPage() {
    auto* page = new QWizardPage;
    page->setTitle(QStringLiteral("收银打印机"));
    page->setSubTitle(QStringLiteral("小票打印机的接法和纸宽；可先打印一张测试页试试。"));
    auto* layout = new QVBoxLayout(page);
    m_paper = new QComboBox(page);
    m_paper->setObjectName(QStringLiteral("组合框_纸宽"));
    m_paper->addItems({QStringLiteral("58 毫米"), QStringLiteral("80 毫米")});
    m_paper->setCurrentIndex(m_setup.printSettings().receiptType);
    auto* paperRow = new QFormLayout;
    paperRow->addRow(QStringLiteral("纸宽："), m_paper);
    m_printer = new PrinterFields(page);
    m_printer->show(m_setup.printSettings());
    layout->addLayout(paperRow);
    layout->addWidget(m_printer);
    layout->addStretch();
    connect(m_printer, &PrinterFields::testPageRequested, this, [this] {
        PrintSettingsForm form;
        m_printer->collect(form);
        m_setup.printTestPage(form, m_paper->currentIndex());
    });
    return page;
}

QWizardPage* SetupWizard::buildPicturePage() {
    auto* page = new QWizardPage;
    page->setTitle(QStringLiteral("小票图片"));
    page->setSubTitle(QStringLiteral("小票顶部和底部可印一张图片，例如店标和收款二维码。"));
    auto* layout = new QVBoxLayout(page);
    m_pictures = choiceButtons(QStringLiteral("单选_图片"),
                               {QStringLiteral("不印图片"), QStringLiteral("保留示例图片（仅供试印）"),
                                QStringLiteral("用自己的图片（PNG）：")},
                               layout, page);
    auto* own = new QGridLayout;
    const auto row = [&](int at, const QString& caption, const QString& name, PicturePick& pick,
                         QLabel*& label) {
        auto* choose = new QPushButton(caption, page);
        choose->setObjectName(name);
        label = new QLabel(QStringLiteral("（未选）"), page);
        own->addWidget(choose, at, 0);
        own->addWidget(label, at, 1);
        connect(choose, &QPushButton::clicked, this, [this, &pick, &label] {
            choosePicture(pick, label);
            m_pictures->button(int(PictureChoice::Own))->setChecked(true);
        });
    };
    row(0, QStringLiteral("选择顶部图片(&T)…"), QStringLiteral("按钮_顶部图片"), m_top, m_topName);
    row(1, QStringLiteral("选择底部图片(&D)…"), QStringLiteral("按钮_底部图片"), m_bottom, m_bottomName);
    own->setColumnStretch(1, 1);
    layout->addLayout(own);
    layout->addWidget(
        note(QStringLiteral("示例图片是说明用的，不要印给顾客。以后可在 打印设置 中更换。"), page));
    layout->addStretch();
    return page;
}

QWizardPage* SetupWizard::buildMenuPage() {
    auto* page = new QWizardPage;
    page->setTitle(QStringLiteral("菜单"));
    page->setSubTitle(QStringLiteral("程序带有一份示例菜单，可以保留、清空或换成自己的菜单文件。"));
    auto* layout = new QVBoxLayout(page);
    m_menu =
        choiceButtons(QStringLiteral("单选_菜单"),
                      {QStringLiteral("保留示例菜品"), QStringLiteral("清空菜单，以后在 商品管理 中录入"),
                       QStringLiteral("清空示例菜品，从 CSV 文件导入…")},
                      layout, page);
    layout->addWidget(note(QStringLiteral("CSV 文件每行一个菜品：数字代号、品名、价格、单位，"
                                          "第一行是列名；GBK 和 UTF-8 编码都可以。"),
                           page));
    layout->addStretch();
    return page;
}

void SetupWizard::choosePicture(PicturePick& pick, QLabel* label) {
    PicturePick chosen;
    if (!m_setup.choosePicture(chosen))
        return;
    pick = chosen;
    label->setText(QFileInfo(chosen.path).fileName());
}

bool SetupWizard::validateCurrentPage() {
    return storePage(currentId()) && QWizard::validateCurrentPage();
}

bool SetupWizard::storePage(int page) {
    bool stored = true;
    switch (Page(page)) {
    case ShopPage:
        stored =
            m_setup.applyShop({boxLines(m_shopNames->toPlainText()), boxLines(m_ticketHeaders->toPlainText()),
                               m_replaceSamples->isChecked(), m_telephone->text()});
        break;
    case PrinterPage: {
        PrintSettingsForm form;
        m_printer->collect(form);
        PrinterField invalid = PrinterField::None;
        stored = m_setup.applyPrinter(form, m_paper->currentIndex(), &invalid);
        m_printer->focusField(invalid);
        break;
    }
    case PicturePage:
        stored = m_setup.applyPictures(PictureChoice(m_pictures->checkedId()), m_top, m_bottom);
        break;
    case MenuPage: {
        const auto choice = MenuChoice(m_menu->checkedId());
        stored = m_setup.applyMenu(choice);
        if (stored && choice == MenuChoice::Import) {
            DishImportSession session(m_db);
            runImport(this, session, m_db, m_platform, m_runModal);
        }
        break;
    }
    }
    if (stored && m_afterPage)
        m_afterPage();
    return stored;
}

void SetupWizard::done(int result) {
    // 完成, 跳过 and closing the window all end the offer at start; 设置菜单 → 开店向导… opens it again.
    m_setup.finish();
    QWizard::done(result);
}

} // namespace qm
