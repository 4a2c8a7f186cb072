#include "catalog/ui/dishdialog.h"

#include "catalog/dishcatalog.h"
#include "catalog/lettercode.h"
#include "catalog/ui/editbuttons.h"
#include "catalog/ui/namedlistwindow.h"
#include "core/platform.h"
#include "core/ui/dropdowncombobox.h"
#include "core/ui/gbklimitvalidator.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace qm {

namespace {

QLineEdit* lineEdit(const char* name, int maxBytes, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    if (maxBytes > 0)
        limitGbkBytes(edit, maxBytes);
    return edit;
}

QLabel* label(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

DishDialog::DishDialog(Mode mode, DishCatalog& catalog, const Database& db, Platform& platform, int row,
                       std::function<void(int)> selectRow, RunModal runModal, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_catalog(catalog)
    , m_db(db)
    , m_store(db)
    , m_platform(platform)
    , m_row(row)
    , m_selectRow(std::move(selectRow))
    , m_runModal(std::move(runModal)) {
    const QString title =
        mode == Mode::Add ? QStringLiteral("项目或菜品添加") : QStringLiteral("项目或菜品修改");
    setObjectName(title);
    setWindowTitle(title);
    resize(380, 251);

    m_nameEdit = lineEdit("编辑框3", 32, this);
    m_lettersEdit = lineEdit("编辑框2", 16, this);
    m_codeEdit = lineEdit("编辑框1", 8, this);
    m_priceEdit = lineEdit("编辑框4", 0, this);
    m_unitBox = new DropDownComboBox(this);
    m_unitBox->setObjectName(QStringLiteral("组合框1"));
    m_unitBox->setEditable(false);
    m_unitBox->setMaxVisibleItems(12);
    m_stationBox = new DropDownComboBox(this);
    m_stationBox->setObjectName(QStringLiteral("组合框_出品部门"));
    m_stationBox->setEditable(false);
    m_stationBox->setToolTip(QStringLiteral("哪个出品部门的后厨单上打印这道菜；“不出单”的菜不进后厨单"));
    auto* unitsButton = new QPushButton(this);
    unitsButton->setObjectName(QStringLiteral("按钮8"));
    unitsButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    unitsButton->setToolTip(QStringLiteral("计量单位设置"));
    unitsButton->setAutoDefault(false);
    QPushButton* okButton = addOrModifyButton(mode == Mode::Add, this);

    auto* unitRow = new QHBoxLayout;
    unitRow->setSpacing(6);
    unitRow->addWidget(m_unitBox, 1);
    unitRow->addWidget(unitsButton);
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setVerticalSpacing(10);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(label("菜品名称：", this), m_nameEdit);
    form->addRow(label("字母代号：", this), m_lettersEdit);
    form->addRow(label("数字代号：", this), m_codeEdit);
    form->addRow(label("价      格：", this), m_priceEdit);
    form->addRow(label("单      位：", this), unitRow);
    form->addRow(label("出品部门：", this), m_stationBox);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &DishDialog::submit);
    connect(unitsButton, &QPushButton::clicked, this, &DishDialog::openUnits);

    if (mode == Mode::Add) {
        connect(m_nameEdit, &QLineEdit::textChanged, this,
                [this](const QString& name) { m_lettersEdit->setText(letterCode(name)); });
        m_unitBox->setAboutToDropDown([this] { reloadUnits(); });
        reloadUnits();
        m_stationBox->setAboutToDropDown([this] { reloadStations(m_stationBox->currentText()); });
        reloadStations(defaultStation);
        m_nameEdit->setFocus();
    } else {
        const DishRow& dish = m_catalog.rows().at(m_row);
        reloadUnits(dish.unit);
        reloadStations(dish.station);
        m_codeEdit->setText(dish.code);
        m_lettersEdit->setText(dish.letters);
        m_nameEdit->setText(dish.name);
        m_priceEdit->setText(dish.priceText);
        m_codeEdit->setFocus();
        m_codeEdit->end(false);
    }
}

void DishDialog::submit() {
    if (m_mode == Mode::Add)
        add();
    else
        saveModification();
}

void DishDialog::add() {
    const Outcome outcome =
        m_catalog.add({m_codeEdit->text(), m_lettersEdit->text(), m_nameEdit->text(), m_priceEdit->text(),
                       m_unitBox->currentText(), m_stationBox->currentText()});
    if (tellRefusal(m_platform, outcome, m_selectRow))
        return;
    m_selectRow(outcome.row);
    m_platform.showMessage(outcome.message, MessageIcon::None);
    m_codeEdit->clear();
    m_lettersEdit->clear();
    m_nameEdit->clear();
    m_priceEdit->clear();
}

void DishDialog::saveModification() {
    const Outcome outcome =
        m_catalog.modify({m_codeEdit->text(), m_lettersEdit->text(), m_nameEdit->text(), m_priceEdit->text(),
                          m_unitBox->currentText(), m_stationBox->currentText()});
    if (tellRefusal(m_platform, outcome, m_selectRow))
        return;
    m_selectRow(outcome.row);
    accept();
    m_platform.showMessage(outcome.message, MessageIcon::None);
}

void DishDialog::openUnits() {
    NamedListWindow units(NamedList::Units, m_db, m_platform, this);
    m_runModal(units);
    // The units may have changed: the add dialog offers them afresh with none chosen, the modify dialog
    // chooses the unit of the dish being modified again.
    reloadUnits(m_mode == Mode::Modify ? m_catalog.rows().at(m_row).unit : QString());
}

void DishDialog::reloadUnits(const QString& unit) {
    m_unitBox->clear();
    m_unitBox->addItems(m_store.loadNamedList(NamedList::Units).value_or(QStringList()));
    m_unitBox->setCurrentIndex(
        unit.isEmpty() ? -1 : m_unitBox->findText(unit, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void DishDialog::reloadStations(const QString& station) {
    QStringList stations = m_store.loadNamedList(NamedList::Stations).value_or(QStringList());
    // A dish keeps a station that has left the list since.
    if (!station.isEmpty() && !stations.contains(station))
        stations.prepend(station);
    m_stationBox->clear();
    m_stationBox->addItems(stations);
    m_stationBox->setCurrentIndex(
        station.isEmpty() ? -1 : m_stationBox->findText(station, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void DishDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Showing a dialog selects the text of its focused box; modifying starts with the caret at the end of
    // the number code instead.
    if (m_mode == Mode::Modify)
        QTimer::singleShot(0, this, [this] { m_codeEdit->end(false); });
}

} // namespace qm
