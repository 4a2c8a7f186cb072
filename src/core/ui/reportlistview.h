#pragma once

#include <QTreeView>

class QMenu;

// A report-style list of the master-data windows: whole rows, one selected at a time, in the font
// "微软雅黑", column 0 hidden. A double click asks for 修改, the Delete key (on release) for 删除, and a
// right click on a selected row pops up the menu 菜单 with both.
namespace qm {

class ReportListView : public QTreeView {
    Q_OBJECT
public:
    // `widths`: the pixel widths of columns 1, 2, ...
    ReportListView(QAbstractItemModel* model, const QList<int>& widths, QWidget* parent = nullptr);

    // The selected row, -1 when none is.
    int selectedRow() const;
    // Selects the row and scrolls it into view; -1 clears the selection.
    void selectRow(int row);
    // The pop-up menu 菜单: "修改", a separator, "删除". The caller owns it.
    QMenu* createRowMenu();

signals:
    void modifyRequested();
    void deleteRequested();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

} // namespace qm
