#include "app/ui/mainwindow.h"

#include "app/abouttext.h"
#include "app/displaysettings.h"
#include "app/helpdocuments.h"
#include "app/ui/decimalsdialog.h"
#include "app/ui/timeformatdialog.h"
#include "app/version.h"
#include "catalog/dishlistmodel.h"
#include "core/home.h"
#include "core/platform.h"
#include "core/ui/functionkeys.h"
#include "order/orderform.h"
#include "order/ui/choicecombo.h"
#include "order/ui/formbinder.h"
#include "order/ui/linesgrid.h"
#include "staff/staffsession.h"
#include "store/settings.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace qm {

namespace {

const QColor linkYellow(255, 255, 0);
const QColor linkGreen(128, 224, 0);

QLineEdit* newEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

ChoiceCombo* newCombo(const QString& name, QWidget* parent) {
    auto* combo = new ChoiceCombo(parent);
    combo->setObjectName(name);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(8);
    return combo;
}

QPushButton* newButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QGroupBox* newGroup(const QString& caption, QWidget* parent) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(caption);
    return group;
}

QFormLayout* newFormLayout(QWidget* parent) {
    auto* layout = new QFormLayout(parent);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return layout;
}

void setLinkColour(QLabel* link, const QColor& colour) {
    link->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
}

} // namespace

MainWindow::MainWindow(Database& db, Platform& platform, const Home& home, int quantityDecimals,
                       QWidget* parent)
    : QMainWindow(parent)
    , m_db(db)
    , m_platform(platform)
    , m_home(home)
    , m_form(new OrderForm(db, platform, quantityDecimals, this))
    , m_binder(new FormBinder(*m_form, this)) {
    setWindowTitle(productTitle());
    resize(791, 723);

    buildToolBar();
    setCentralWidget(buildForm());
    buildStatusBar();

    connect(m_form, &OrderForm::todayTotalsChanged, this, &MainWindow::showTotals);
    connect(m_form, &OrderForm::modeChanged, this, &MainWindow::showMode);
    new FunctionKeys(this, [this](int qtKey) { functionKey(qtKey); });

    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("时钟1"));
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &MainWindow::tick);

    startUp();
    m_clock->start();
}

MainWindow::~MainWindow() = default;

void MainWindow::startUp() {
    for (OrderField field : {OrderField::TicketHeader, OrderField::ShopName, OrderField::DiscountName})
        m_form->fillChoiceList(field);
    m_form->loadTableCodes();
    // The table list starts as after every reset: all names, none chosen.
    m_form->setText(OrderField::TableCode, QString());
    m_form->restoreChoices(RecordStore(m_db));
    m_form->setQuantityWithoutAsking(readQuantityWithoutAsking(RecordStore(m_db)));
    m_form->setTelephoneTail(readTelephoneTail(RecordStore(m_db)));
    m_form->refreshTodayTotals();
    m_form->loadDishCache();
    m_form->tick();
    showMode();
    m_binder->focus(OrderField::DishCode, false);
}

// --- Layout -------------------------------------------------------------------------------------------

QWidget* MainWindow::buildForm() {
    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(6, 4, 6, 4);
    columns->setSpacing(6);
    columns->addWidget(buildLeftColumn(), 279);
    columns->addWidget(buildRightColumn(), 488);
    return central;
}

void MainWindow::addFieldRows(QFormLayout* form, QWidget* parent, std::initializer_list<FieldRow> rows) {
    for (const FieldRow& row : rows) {
        const QString name = QString::fromUtf8(row.name);
        QWidget* control = nullptr;
        if (isChoiceField(row.field)) {
            auto* combo = newCombo(name, parent);
            m_binder->bindChoice(combo, row.field);
            control = combo;
        } else {
            auto* edit = newEdit(name, parent);
            m_binder->bindEdit(edit, row.field);
            control = edit;
        }
        form->addRow(QString::fromUtf8(row.label), control);
    }
}

QGroupBox* MainWindow::newFieldGroup(const QString& caption, QWidget* parent,
                                     std::initializer_list<FieldRow> rows) {
    auto* group = newGroup(caption, parent);
    addFieldRows(newFormLayout(group), group, rows);
    return group;
}

QWidget* MainWindow::buildLeftColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* header = newFormLayout(nullptr);
    addFieldRows(header, column,
                 {{"编      号：", "编辑框_编号", OrderField::OrderNumber},
                  {"票      头(Alt+1)：", "组合框_票头", OrderField::TicketHeader},
                  {"店铺名称(Alt+2)：", "组合框_店铺名称", OrderField::ShopName}});
    // The two lists without a function key of their own.
    for (const auto& [keys, field] : {std::pair{Qt::ALT | Qt::Key_1, OrderField::TicketHeader},
                                      std::pair{Qt::ALT | Qt::Key_2, OrderField::ShopName}}) {
        connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this,
                [this, field = field] { m_binder->focus(field, false); });
    }
    auto* time = newEdit(QStringLiteral("编辑框_时间"), column);
    auto* timeButton = newButton(QStringLiteral("按钮_时间设置"), QStringLiteral("…"), column);
    timeButton->setToolTip(QStringLiteral("选择时间格式（Alt+3）"));
    timeButton->setShortcut(QKeySequence(Qt::ALT | Qt::Key_3));
    timeButton->setFixedWidth(28);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(time);
    timeRow->addWidget(timeButton);
    header->addRow(QStringLiteral("下单时间："), timeRow);
    layout->addLayout(header);
    m_binder->bindEdit(time, OrderField::OrderTime);
    connect(timeButton, &QPushButton::clicked, this, &MainWindow::chooseTimeFormat);

    auto* lines = newGroup(QStringLiteral("已点商品(F6)"), column);
    m_grid = new LinesGrid(*m_form, lines);
    m_grid->setObjectName(QStringLiteral("高级表格1"));
    (new QVBoxLayout(lines))->addWidget(m_grid);
    layout->addWidget(lines, 1);

    layout->addWidget(newFieldGroup(QStringLiteral("折扣信息(F4)"), column,
                                    {{"减 免(F7)：", "组合框_减免", OrderField::DiscountName},
                                     {"减免份数：", "编辑框_减免份数", OrderField::DiscountCount},
                                     {"减免金额：", "编辑框_减免金额", OrderField::DiscountAmount}}));
    layout->addWidget(newFieldGroup(QStringLiteral("付款信息(F5)"), column,
                                    {{"合      计：", "编辑框_合计", OrderField::Total},
                                     {"支付方式：", "组合框_付款方式", OrderField::PaymentMethod},
                                     {"已      付：", "编辑框_已支付", OrderField::Paid},
                                     {"实      付：", "编辑框_实付", OrderField::ToPay}}));
    return column;
}

QWidget* MainWindow::buildRightColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* search = newGroup(QStringLiteral("点单(F1)"), column);
    auto* searchLayout = new QVBoxLayout(search);
    auto* codeForm = newFormLayout(nullptr);
    auto* code = newEdit(QStringLiteral("编辑框_项目代号"), search);
    code->setPlaceholderText(QStringLiteral("数字代号或字母代号，回车点菜"));
    codeForm->addRow(QStringLiteral("商品代码："), code);
    searchLayout->addLayout(codeForm);
    auto* candidates = new QTreeView(search);
    candidates->setObjectName(QStringLiteral("超级列表框2"));
    candidates->setRootIsDecorated(false);
    candidates->setUniformRowHeights(true);
    candidates->setAllColumnsShowFocus(true);
    candidates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    candidates->setSelectionBehavior(QAbstractItemView::SelectRows);
    candidates->setFont(QFont(QStringLiteral("微软雅黑")));
    searchLayout->addWidget(candidates, 1);
    layout->addWidget(search, 1);
    m_binder->bindDishSearch(code, candidates);
    for (int c = 0; c < candidates->model()->columnCount(); ++c)
        candidates->setColumnWidth(c, DishListModel::columnWidth(c));
    candidates->setColumnHidden(DishListModel::Hidden, true);

    auto* tables = newGroup(QStringLiteral("桌号/号牌(F2)"), column);
    auto* tableRow = new QHBoxLayout(tables);
    tableRow->addWidget(new QLabel(QStringLiteral("桌号代码："), tables));
    auto* tableCode = newEdit(QStringLiteral("编辑框_时间2"), tables);
    tableRow->addWidget(tableCode, 1);
    auto* tableName = newCombo(QStringLiteral("组合框_桌号"), tables);
    tableRow->addWidget(tableName, 2);
    layout->addWidget(tables);
    m_binder->bindEdit(tableCode, OrderField::TableCode);
    m_binder->bindChoice(tableName, OrderField::TableName);

    layout->addWidget(newFieldGroup(QStringLiteral("配送信息(F3)"), column,
                                    {{"电      话：", "编辑框_电话", OrderField::Telephone},
                                     {"姓      名：", "编辑框_姓名", OrderField::CustomerName},
                                     {"地      址：", "编辑框_地址", OrderField::Address}}));
    layout->addWidget(newFieldGroup(QStringLiteral("备注信息(F7)"), column,
                                    {{"备      注：", "编辑框_备注", OrderField::Note}}));

    layout->addWidget(buildCommandRow());
    return column;
}

QWidget* MainWindow::buildCommandRow() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 2, 0, 0);

    auto* firstRow = new QHBoxLayout;
    auto* saveCustomer = newButton(QStringLiteral("按钮_保存客户"), QStringLiteral("保存客户"), area);
    saveCustomer->setFocusPolicy(Qt::TabFocus);
    auto* sampleData =
        newButton(QStringLiteral("按钮_随机数据"), QStringLiteral("生成销售随机数据(D)"), area);
    sampleData->setShortcut(QKeySequence(Qt::ALT | Qt::Key_D));
    // Enabled once the sample data generator is connected to sampleDataRequested().
    sampleData->setEnabled(false);
    auto* orderId = newEdit(QStringLiteral("ID"), area);
    orderId->setReadOnly(true);
    orderId->setFocusPolicy(Qt::NoFocus);
    orderId->setMaximumWidth(80);
    auto* preview = newButton(QStringLiteral("按钮_预览"), QStringLiteral("预览"), area);
    preview->setFocusPolicy(Qt::TabFocus);
    firstRow->addWidget(saveCustomer);
    firstRow->addWidget(sampleData);
    firstRow->addStretch();
    firstRow->addWidget(new QLabel(QStringLiteral("存单ID："), area));
    firstRow->addWidget(orderId);
    firstRow->addWidget(preview);
    layout->addLayout(firstRow);
    m_binder->bindEdit(orderId, OrderField::OrderId);
    connect(saveCustomer, &QPushButton::clicked, m_form, &OrderForm::saveCustomer);
    connect(sampleData, &QPushButton::clicked, this, &MainWindow::sampleDataRequested);
    connect(preview, &QPushButton::clicked, this, &MainWindow::previewToggleRequested);

    auto* secondRow = new QHBoxLayout;
    auto* clear = newButton(QStringLiteral("按钮_清空"), QStringLiteral("清空(F10)"), area);
    auto* printOnly = newButton(QStringLiteral("按钮_打单结算1"), QStringLiteral("打单(F11)"), area);
    m_settleButton = newButton(QStringLiteral("按钮_打单结算"), settleCaptionNew, area);
    for (QPushButton* button : {clear, printOnly, m_settleButton}) {
        button->setMinimumHeight(36);
        secondRow->addWidget(button);
    }
    QFont strong = m_settleButton->font();
    strong.setBold(true);
    m_settleButton->setFont(strong);
    layout->addLayout(secondRow);
    connect(clear, &QPushButton::clicked, this, &MainWindow::clearRequested);
    connect(printOnly, &QPushButton::clicked, this, &MainWindow::printOnlyRequested);
    connect(m_settleButton, &QPushButton::clicked, this, &MainWindow::settleRequested);

    // The two help links blink on a dark strip, where both of their colours read well.
    auto* links = new QWidget(area);
    links->setObjectName(QStringLiteral("帮助链接"));
    links->setAttribute(Qt::WA_StyledBackground);
    links->setStyleSheet(QStringLiteral("#帮助链接 { background: #2b3a4a; border-radius: 3px; }"));
    auto* linkRow = new QHBoxLayout(links);
    linkRow->setContentsMargins(8, 3, 8, 3);
    m_usageLink = new QLabel(QStringLiteral("查看使用教程"), links);
    m_usageLink->setObjectName(QStringLiteral("透明标签13"));
    m_printingLink = new QLabel(QStringLiteral("无法打印怎么办？"), links);
    m_printingLink->setObjectName(QStringLiteral("透明标签11"));
    for (QLabel* link : {m_usageLink, m_printingLink}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
        setLinkColour(link, linkGreen);
    }
    linkRow->addWidget(m_usageLink);
    linkRow->addStretch();
    linkRow->addWidget(m_printingLink);
    layout->addWidget(links);
    return area;
}

void MainWindow::buildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("工具条2"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addToolBar(Qt::TopToolBarArea, bar);

    auto addEntry = [this](QWidget* owner, Entry which, const QString& caption) {
        auto* action = new QAction(caption, owner);
        action->setObjectName(caption);
        action->setEnabled(false);
        owner->addAction(action);
        m_entries.insert(which, action);
        return action;
    };
    // The toolbar's windows open with Alt and the letter their caption shows, as the two menus do.
    auto addKeyedEntry = [&addEntry, bar](Entry which, const QString& caption, char letter) {
        QAction* action = addEntry(bar, which, caption);
        action->setText(QStringLiteral("%1(%2)").arg(caption, QString(QLatin1Char(letter))));
        action->setShortcut(QKeySequence(Qt::ALT | Qt::Key(letter)));
    };
    addKeyedEntry(Entry::History, QStringLiteral("历史单据"), 'L');
    addKeyedEntry(Entry::IncomeReport, QStringLiteral("收入报表"), 'R');
    addKeyedEntry(Entry::SalesStatistics, QStringLiteral("销售统计"), 'T');
    bar->addSeparator();
    addKeyedEntry(Entry::Customers, QStringLiteral("顾客管理"), 'G');
    addKeyedEntry(Entry::Dishes, QStringLiteral("商品管理"), 'P');
    addKeyedEntry(Entry::Tables, QStringLiteral("桌号管理"), 'Z');
    bar->addSeparator();

    auto* settings = new QMenu(QStringLiteral("设置菜单"), this);
    settings->setObjectName(QStringLiteral("设置菜单"));
    addEntry(settings, Entry::TicketHeaders, QStringLiteral("票头设置"));
    addEntry(settings, Entry::ShopNames, QStringLiteral("店名设置"));
    addEntry(settings, Entry::Discounts, QStringLiteral("减免设置"));
    addEntry(settings, Entry::Stations, QStringLiteral("出品部门设置"));
    connect(settings->addAction(QStringLiteral("设置")), &QAction::triggered, this,
            &MainWindow::chooseQuantityDecimals);
    addEntry(settings, Entry::PrintSettings, QStringLiteral("打印设置"));
    addEntry(settings, Entry::CashDrawer, QStringLiteral("打开钱箱"));
    addEntry(settings, Entry::ShopSetup, QStringLiteral("开店向导…"));
    settings->addSeparator();
    addEntry(settings, Entry::BackupData, QStringLiteral("备份数据…"));
    addEntry(settings, Entry::RestoreData, QStringLiteral("恢复数据…"));
    settings->addSeparator();
    addEntry(settings, Entry::Staff, QStringLiteral("员工与权限…"));
    addEntry(settings, Entry::AuditRecord, QStringLiteral("操作记录"));
    // The change of cashier works from anywhere in the window, also with the menu closed.
    QAction* lock = addEntry(settings, Entry::Lock, QStringLiteral("锁屏/换班(Ctrl+L)"));
    lock->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    addAction(lock);

    auto* help = new QMenu(QStringLiteral("帮助"), this);
    help->setObjectName(QStringLiteral("帮助"));
    connect(help->addAction(QStringLiteral("使用教程")), &QAction::triggered, this,
            [this] { openHelpDocument(HelpDocument::Usage, m_home, m_platform); });
    connect(help->addAction(QStringLiteral("无法打印")), &QAction::triggered, this,
            [this] { openHelpDocument(HelpDocument::PrintingTrouble, m_home, m_platform); });
    help->addSeparator();
    connect(help->addAction(QStringLiteral("关于")), &QAction::triggered, this, &MainWindow::showAbout);

    // The two drop-down buttons open their menu from either part of the button. From the keyboard, Alt and
    // the letter their caption shows open them where the buttons would, also when a narrow window has
    // folded the buttons away; the menu key opens the first.
    const struct {
        QMenu* menu;
        const char* letter;
        QPoint position; // from the window's top left corner
    } dropDowns[] = {{settings, "S", {409, 100}}, {help, "H", {491, 100}}};
    for (const auto& dropDown : dropDowns) {
        auto* button = new QToolButton(bar);
        button->setText(QStringLiteral("%1(%2)").arg(dropDown.menu->title(), QLatin1String(dropDown.letter)));
        button->setObjectName(dropDown.menu->title());
        button->setMenu(dropDown.menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        connect(button, &QToolButton::clicked, button, &QToolButton::showMenu);
        bar->addWidget(button);
        auto popUp = [this, menu = dropDown.menu, at = dropDown.position] { menu->popup(pos() + at); };
        connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key(dropDown.letter[0])), this),
                &QShortcut::activated, this, popUp);
        if (dropDown.menu == settings)
            connect(new QShortcut(QKeySequence(Qt::Key_Menu), this), &QShortcut::activated, this, popUp);
    }
    bar->addSeparator();
}

void MainWindow::buildStatusBar() {
    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("状态条1"));
    m_countStatus = new QLabel(bar);
    m_countStatus->setObjectName(QStringLiteral("状态条1_数量"));
    m_incomeStatus = new QLabel(bar);
    m_incomeStatus->setObjectName(QStringLiteral("状态条1_收入"));
    m_noticeStatus = new QLabel(bar);
    m_noticeStatus->setObjectName(QStringLiteral("状态条1_提示"));
    bar->addWidget(m_countStatus, 1);
    bar->addWidget(m_incomeStatus, 1);
    bar->addWidget(m_noticeStatus, 1);
}

// --- Behaviour ----------------------------------------------------------------------------------------

QAction* MainWindow::entry(Entry which) const {
    return m_entries.value(which);
}

void MainWindow::functionKey(int qtKey) {
    if (qtKey == Qt::Key_F8 || qtKey == Qt::Key_F9)
        return;
    // The window takes the focus first, so that a cell being edited in the grid is finished.
    setFocus(Qt::ShortcutFocusReason);
    switch (qtKey) {
    case Qt::Key_F1:
        m_binder->focus(OrderField::DishCode, true);
        break;
    case Qt::Key_F2:
        m_binder->focus(OrderField::TableCode, true);
        break;
    case Qt::Key_F3:
        m_binder->focus(OrderField::Telephone, true);
        break;
    case Qt::Key_F4:
        m_binder->focus(OrderField::DiscountName, false);
        break;
    case Qt::Key_F5:
        m_binder->focus(OrderField::PaymentMethod, false);
        break;
    case Qt::Key_F6:
        m_grid->setFocus(Qt::ShortcutFocusReason);
        break;
    case Qt::Key_F7:
        m_binder->focus(OrderField::Note, true);
        break;
    case Qt::Key_F10:
        emit clearRequested();
        break;
    case Qt::Key_F11:
        emit printOnlyRequested();
        break;
    case Qt::Key_F12:
        emit settleRequested();
        break;
    default:
        break;
    }
}

void MainWindow::tick() {
    m_linksYellow = !m_linksYellow;
    for (QLabel* link : {m_usageLink, m_printingLink})
        setLinkColour(link, m_linksYellow ? linkYellow : linkGreen);
    m_form->tick();
}

void MainWindow::showTotals() {
    m_countStatus->setText(m_form->countStatusText());
    m_incomeStatus->setText(m_form->incomeStatusText());
    m_noticeStatus->setText(m_form->statusNotice());
}

void MainWindow::showMode() {
    m_settleButton->setText(m_form->settleCaption());
    m_settleButton->setVisible(m_form->settleVisible());
}

void MainWindow::chooseTimeFormat() {
    TimeFormatDialog dialog(m_db, m_form->timeFormat(), this);
    connect(&dialog, &TimeFormatDialog::timeFormatChanged, m_form, &OrderForm::setTimeFormat);
    dialog.exec();
    m_form->requestPreviewRefresh();
}

void MainWindow::chooseQuantityDecimals() {
    std::optional<AuditEvent> event;
    if (m_staff) {
        const std::optional<Authorisation> who = m_staff->authorise(Action::Settings);
        if (!who)
            return;
        event = m_staff->event(*who, QStringLiteral("修改设置"));
    }
    DecimalsDialog dialog(m_db, m_platform, m_form->quantityDecimals(), m_home.tillPath(), event, this);
    dialog.exec();
    m_form->setQuantityDecimals(dialog.decimals());
    m_form->setQuantityWithoutAsking(dialog.quantityWithoutAsking());
    m_form->setTelephoneTail(dialog.telephoneTail());
}

void MainWindow::showAbout() {
    m_platform.showMessage(aboutText(), MessageIcon::None, QStringLiteral("关于"));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    m_clock->stop();
    m_form->saveChoices(RecordStore(m_db));
    event->accept();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    emit moved();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_usageLink)
            openHelpDocument(HelpDocument::Usage, m_home, m_platform);
        else if (watched == m_printingLink)
            openHelpDocument(HelpDocument::PrintingTrouble, m_home, m_platform);
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace qm
