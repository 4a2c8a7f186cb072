#include "catalog/ui/importdialog.h"

#include "core/platform.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qm {

namespace {

// More refused rows than this are counted, not listed.
constexpr int listedRefusals = 1000;

// Encodings and separators by combo index; index 0 is "detect".
const CsvEncoding encodings[] = {CsvEncoding::Gbk, CsvEncoding::Utf8};
const QChar separators[] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};

QString separatorName(QChar separator) {
    if (separator == QLatin1Char(';'))
        return QStringLiteral("分号");
    if (separator == QLatin1Char('\t'))
        return QStringLiteral("制表符");
    return QStringLiteral("逗号");
}

QTableWidget* newTable(const QString& name, const QStringList& titles, QWidget* parent) {
    auto* table = new QTableWidget(0, int(titles.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void setRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size() && c < table->columnCount(); ++c)
        table->setItem(row, c, new QTableWidgetItem(cells[c]));
}

} // namespace

ImportDialog::ImportDialog(ImportSession& session, Database& db, Platform& platform, const QString& fileName,
                           QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_db(db)
    , m_platform(platform) {
    setObjectName(session.title());
    setWindowTitle(session.title());
    resize(640, 560);

    auto* choices = new QFormLayout;
    choices->addRow(QStringLiteral("文件："), new QLabel(QFileInfo(fileName).fileName(), this));
    m_encoding = new QComboBox(this);
    m_encoding->setObjectName(QStringLiteral("组合框_编码"));
    m_encoding->addItems({QString(), QStringLiteral("GBK"), QStringLiteral("UTF-8")});
    m_separator = new QComboBox(this);
    m_separator->setObjectName(QStringLiteral("组合框_分隔符"));
    m_separator->addItems(
        {QString(), QStringLiteral("逗号"), QStringLiteral("分号"), QStringLiteral("制表符")});
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_encoding);
    fileRow->addSpacing(12);
    fileRow->addWidget(new QLabel(QStringLiteral("分隔符："), this));
    fileRow->addWidget(m_separator);
    fileRow->addStretch();
    choices->addRow(QStringLiteral("编码："), fileRow);

    auto* columnRow = new QHBoxLayout;
    for (int c = 0; c < session.columns().size(); ++c) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("组合框_列_") + session.columns()[c].title);
        columnRow->addWidget(new QLabel(session.columns()[c].title, this));
        columnRow->addWidget(combo, 1);
        m_columns.append(combo);
    }
    choices->addRow(QStringLiteral("列："), columnRow);

    m_existing = new QButtonGroup(this);
    auto* skip = new QRadioButton(QStringLiteral("跳过"), this);
    skip->setObjectName(QStringLiteral("单选框_跳过"));
    auto* update = new QRadioButton(QStringLiteral("更新"), this);
    update->setObjectName(QStringLiteral("单选框_更新"));
    m_existing->addButton(skip, int(ExistingRows::Skip));
    m_existing->addButton(update, int(ExistingRows::Update));
    (session.existing() == ExistingRows::Skip ? skip : update)->setChecked(true);
    auto* existingRow = new QHBoxLayout;
    existingRow->addWidget(skip);
    existingRow->addWidget(update);
    existingRow->addStretch();
    choices->addRow(session.existingLabel(), existingRow);

    m_preview = newTable(QStringLiteral("表格_预览"), session.previewTitles(), this);
    m_refusals =
        newTable(QStringLiteral("表格_不能导入"), {QStringLiteral("行"), QStringLiteral("原因")}, this);
    m_refusals->setColumnWidth(0, 60);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("标签_导入结果"));
    m_summary->setWordWrap(true);

    m_import = new QPushButton(QStringLiteral("导入"), this);
    m_import->setObjectName(QStringLiteral("按钮_导入"));
    m_import->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("按钮_取消"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    buttons->addWidget(m_import);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(new QLabel(QStringLiteral("预览（前 %1 行）：").arg(previewRowCount), this));
    layout->addWidget(m_preview, 3);
    layout->addWidget(new QLabel(QStringLiteral("不能导入的行："), this));
    layout->addWidget(m_refusals, 2);
    layout->addLayout(buttons);

    fillColumnChoices();
    showSummary();

    connect(m_encoding, &QComboBox::activated, this, [this](int index) {
        m_session.setEncoding(index == 0 ? std::nullopt : std::optional(encodings[index - 1]));
        fillColumnChoices();
        showSummary();
    });
    connect(m_separator, &QComboBox::activated, this, [this](int index) {
        m_session.setSeparator(index == 0 ? std::nullopt : std::optional(separators[index - 1]));
        fillColumnChoices();
        showSummary();
    });
    for (int c = 0; c < m_columns.size(); ++c) {
        connect(m_columns[c], &QComboBox::activated, this, [this, c](int index) {
            m_session.setColumn(c, index - 1);
            showSummary();
        });
    }
    connect(m_existing, &QButtonGroup::idClicked, this, [this](int id) {
        m_session.setExisting(ExistingRows(id));
        showSummary();
    });
    connect(m_import, &QPushButton::clicked, this, &ImportDialog::importRows);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ImportDialog::fillColumnChoices() {
    const CsvFile& file = m_session.file();
    m_encoding->setItemText(0, QStringLiteral("自动（%1）").arg(csvEncodingName(file.encoding)));
    m_separator->setItemText(0, QStringLiteral("自动（%1）").arg(separatorName(file.separator)));
    for (int c = 0; c < m_columns.size(); ++c) {
        QComboBox* combo = m_columns[c];
        combo->clear();
        combo->addItem(QStringLiteral("（无）"));
        for (int f = 0; f < file.table.header.size(); ++f)
            combo->addItem(QStringLiteral("%1. %2").arg(f + 1).arg(file.table.header[f]));
        combo->setCurrentIndex(m_session.map().value(c, -1) + 1);
    }
}

void ImportDialog::showSummary() {
    const ImportSummary& summary = m_session.summary();
    m_preview->setRowCount(int(summary.preview.size()));
    for (int r = 0; r < summary.preview.size(); ++r)
        setRow(m_preview, r, summary.preview[r]);

    QList<RowRefusal> listed = summary.refusals;
    for (const RowRefusal& note : summary.notes)
        listed.append({note.line, QStringLiteral("（已导入）") + note.reason});
    std::stable_sort(listed.begin(), listed.end(),
                     [](const RowRefusal& a, const RowRefusal& b) { return a.line < b.line; });
    const int shown = int(std::min<qsizetype>(listed.size(), listedRefusals));
    m_refusals->setRowCount(shown + (listed.size() > shown ? 1 : 0));
    for (int r = 0; r < shown; ++r)
        setRow(m_refusals, r, {QString::number(listed[r].line), listed[r].reason});
    if (listed.size() > shown)
        setRow(m_refusals, shown,
               {QStringLiteral("…"), QStringLiteral("另有 %1 行").arg(listed.size() - shown)});

    m_summary->setText(summary.text());
    m_import->setEnabled(summary.missingColumns.isEmpty() && summary.taken() > 0);
}

bool ImportDialog::importRows() {
    const ImportSummary& summary = m_session.summary();
    if (!summary.missingColumns.isEmpty() || summary.taken() == 0) {
        m_platform.showMessage(summary.missingColumns.isEmpty() ? QStringLiteral("没有可以导入的行。")
                                                                : summary.missingColumns,
                               MessageIcon::Information);
        return false;
    }
    ImportStoreResult result;
    {
        const std::unique_ptr<Progress> progress = m_platform.startProgress(
            windowTitle(), QStringLiteral("正在导入 %1 行……").arg(summary.taken()), summary.taken());
        result = m_session.store(m_db, [&](int done) { return progress->advance(done); });
    }
    switch (result.status) {
    case ImportStoreResult::Status::Stored:
        m_platform.showMessage(
            QStringLiteral("导入完成：新增 %1 行，更新 %2 行。").arg(summary.inserts).arg(summary.updates),
            MessageIcon::None);
        accept();
        return true;
    case ImportStoreResult::Status::Cancelled:
        m_platform.showMessage(QStringLiteral("已取消导入，没有保存任何数据。"), MessageIcon::Information);
        return false;
    case ImportStoreResult::Status::Failed:
        break;
    }
    m_platform.showMessage(QStringLiteral("导入失败，没有保存任何数据：\r\n") + result.error,
                           MessageIcon::Stop);
    return false;
}

bool runImport(QWidget* parent, ImportSession& session, Database& db, Platform& platform,
               const RunModal& runModal) {
    const QString path = platform.openFileName(QStringLiteral("请选择要导入的文件。"),
                                               QStringLiteral("CSV文件 (*.csv *.txt)"));
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        platform.showMessage(QStringLiteral("无法读取文件：") + file.errorString(), MessageIcon::Warning);
        return false;
    }
    // A dish list or a customer book is a few megabytes at most; anything far larger is not one.
    constexpr qint64 largestFile = 64 << 20;
    if (file.size() > largestFile) {
        platform.showMessage(QStringLiteral("文件太大（超过 64 MB），不像是菜单或客户表。"),
                             MessageIcon::Warning);
        return false;
    }
    session.load(file.readAll());
    ImportDialog dialog(session, db, platform, path, parent);
    runModal(dialog);
    return dialog.result() == QDialog::Accepted;
}

} // namespace qm
