#pragma once

#include <QTableWidget>

namespace qm {

class OrderForm;

// The order-lines grid: shows the form's lines under a header row and hands every finished cell edit,
// cursor move and line deletion to the form. The name column edits with a drop-down of every dish name.
// Widget row r shows the form's row r + 1 (the form's row 0 is the header).
class LinesGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit LinesGrid(OrderForm& form, QWidget* parent = nullptr);

    OrderForm& form() const { return m_form; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showLines();
    void showCursor();

    OrderForm& m_form;
    bool m_showing = false;
};

} // namespace qm
