#include "core/ui/reportlistview.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

namespace qm {

ReportListView::ReportListView(QAbstractItemModel* model, const QList<int>& widths, QWidget* parent)
    : QTreeView(parent) {
    setModel(model);
    setFont(QFont(QStringLiteral("微软雅黑")));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(true);
    setColumnHidden(0, true);
    for (int i = 0; i < widths.size(); ++i)
        setColumnWidth(i + 1, widths[i]);
    connect(this, &QAbstractItemView::doubleClicked, this, &ReportListView::modifyRequested);
}

int ReportListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows(1);
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ReportListView::selectRow(int row) {
    if (row < 0 || row >= model()->rowCount()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = model()->index(row, 1);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

QMenu* ReportListView::createRowMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("菜单"));
    menu->addAction(QStringLiteral("修改"), this, &ReportListView::modifyRequested);
    menu->addSeparator();
    menu->addAction(QStringLiteral("删除"), this, &ReportListView::deleteRequested);
    return menu;
}

void ReportListView::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat()) {
        emit deleteRequested();
        return;
    }
    QTreeView::keyReleaseEvent(event);
}

void ReportListView::contextMenuEvent(QContextMenuEvent* event) {
    if (selectedRow() < 0)
        return;
    QMenu* menu = createRowMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace qm
