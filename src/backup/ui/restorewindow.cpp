#include "backup/ui/restorewindow.h"

#include "core/platform.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qm {

RestoreWindow::RestoreWindow(const Home& home, Platform& platform, QWidget* parent)
    : QDialog(parent)
    , m_platform(platform)
    , m_listings(listCopies(home))
    , m_list(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("恢复数据"));
    setObjectName(QStringLiteral("恢复数据"));
    resize(620, 420);

    auto* layout = new QVBoxLayout(this);
    auto* hint =
        new QLabel(QStringLiteral("选择要恢复的备份。恢复前，当前数据会先备份到 backup 文件夹。"), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    m_list->setObjectName(QStringLiteral("列表_备份"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({QStringLiteral("备份时间"), QStringLiteral("大小"), QStringLiteral("订单数"),
                             QStringLiteral("最新订单时间")});
    for (const BackupListing& listing : m_listings) {
        auto* item =
            new QTreeWidgetItem(m_list, {listing.time, listing.size, listing.orders, listing.newestOrder});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!m_listings.isEmpty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
    layout->addWidget(m_list, 1);

    auto* buttons = new QHBoxLayout;
    auto* restoreButton = new QPushButton(QStringLiteral("恢复"), this);
    restoreButton->setObjectName(QStringLiteral("按钮_恢复"));
    restoreButton->setEnabled(!m_listings.isEmpty());
    restoreButton->setDefault(true);
    auto* fileButton = new QPushButton(QStringLiteral("选择文件…"), this);
    fileButton->setObjectName(QStringLiteral("按钮_选择文件"));
    auto* closeButton = new QPushButton(QStringLiteral("关闭"), this);
    closeButton->setObjectName(QStringLiteral("按钮_关闭"));
    buttons->addWidget(fileButton);
    buttons->addStretch();
    buttons->addWidget(restoreButton);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    connect(restoreButton, &QPushButton::clicked, this,
            [this] { chooseRow(m_list->indexOfTopLevelItem(m_list->currentItem())); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { chooseRow(m_list->indexOfTopLevelItem(item)); });
    connect(fileButton, &QPushButton::clicked, this, &RestoreWindow::chooseFile);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    // One copy per turn of the event loop, so that the window answers while the list fills.
    auto* filler = new QTimer(this);
    connect(filler, &QTimer::timeout, this, [this, filler] {
        if (described()) {
            filler->stop();
            return;
        }
        BackupListing& listing = m_listings[m_described];
        describeOrders(listing);
        QTreeWidgetItem* item = m_list->topLevelItem(m_described);
        item->setText(2, listing.orders);
        item->setText(3, listing.newestOrder);
        ++m_described;
    });
    filler->start(0);
}

void RestoreWindow::chooseRow(int row) {
    if (row < 0 || row >= m_listings.size())
        return;
    m_chosen = m_listings.at(row).path;
    accept();
}

void RestoreWindow::chooseFile() {
    const QString path = m_platform.openFileName(QStringLiteral("选择要恢复的数据库文件"),
                                                 QStringLiteral("数据库文件 (*.db);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    m_chosen = path;
    accept();
}

} // namespace qm
