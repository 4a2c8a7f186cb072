#pragma once

#include "order/orderform.h"

#include <QHash>
#include <QObject>

class QAbstractItemView;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QWidget;

namespace qm {

class ChoiceCombo;
class DishListModel;

// Ties the main window's controls to the order form: typing and choosing go to the form, the form's
// changes show in the controls, and the keyboard path of the form (Enter to the next field, select-all on
// focus, preview refresh on leaving a field, the keys of the dish code box) is kept here.
class FormBinder : public QObject {
    Q_OBJECT
public:
    explicit FormBinder(OrderForm& form, QObject* parent = nullptr);

    void bindEdit(QLineEdit* edit, OrderField field);
    // A choice list; those filled from a table are filled again each time their list opens.
    void bindChoice(ChoiceCombo* combo, OrderField field);
    // The dish code box and the candidate list under it.
    void bindDishSearch(QLineEdit* codeEdit, QAbstractItemView* candidates);

    // The control of a field, or null.
    QWidget* widget(OrderField field) const;
    // Focuses a field's control, selecting its whole text when asked.
    void focus(OrderField field, bool selectAll);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showText(OrderField field, const QString& text);
    void showChoices(OrderField field);
    bool dishCodeKey(QKeyEvent* key);
    bool candidateKey(QKeyEvent* key);
    void showCandidates();

    OrderForm& m_form;
    QHash<QObject*, OrderField> m_fields;
    QHash<int, QWidget*> m_widgets;
    QLineEdit* m_dishCode = nullptr;
    QAbstractItemView* m_candidates = nullptr;
    DishListModel* m_candidateModel = nullptr;
    // The field whose Enter was consumed on key down; the focus moves when the key comes up.
    std::optional<OrderField> m_enterPending;
};

} // namespace qm
