#include "order/ui/formbinder.h"

#include "catalog/dishlistmodel.h"
#include "order/ui/choicecombo.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

namespace qm {

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

FormBinder::FormBinder(OrderForm& form, QObject* parent)
    : QObject(parent)
    , m_form(form) {
    connect(&form, &OrderForm::textChanged, this, &FormBinder::showText);
    connect(&form, &OrderForm::choicesChanged, this, &FormBinder::showChoices);
    connect(&form, &OrderForm::focusRequested, this, &FormBinder::focus);
}

void FormBinder::bindEdit(QLineEdit* edit, OrderField field) {
    m_fields.insert(edit, field);
    m_widgets.insert(int(field), edit);
    edit->setText(m_form.text(field));
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this,
            [this, field](const QString& text) { m_form.setText(field, text); });
}

void FormBinder::bindChoice(ChoiceCombo* combo, OrderField field) {
    m_fields.insert(combo, field);
    m_widgets.insert(int(field), combo);
    combo->installEventFilter(this);
    showChoices(field);
    connect(combo, &QComboBox::currentIndexChanged, this,
            [this, field](int index) { m_form.chooseItem(field, index); });
    if (field != OrderField::PaymentMethod)
        connect(combo, &ChoiceCombo::aboutToShowPopup, this, [this, field] { m_form.fillChoiceList(field); });
}

void FormBinder::bindDishSearch(QLineEdit* codeEdit, QAbstractItemView* candidates) {
    bindEdit(codeEdit, OrderField::DishCode);
    m_dishCode = codeEdit;
    m_candidates = candidates;
    m_candidateModel = new DishListModel(QStringLiteral("品名"), candidates);
    candidates->setModel(m_candidateModel);
    candidates->installEventFilter(this);
    showCandidates();
    connect(&m_form, &OrderForm::candidatesChanged, this, &FormBinder::showCandidates);
    connect(&m_form, &OrderForm::currentCandidateChanged, candidates, [this](int row) {
        const QModelIndex index = m_candidateModel->index(row, DishListModel::Name);
        const QSignalBlocker block(m_candidates->selectionModel());
        m_candidates->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
        if (index.isValid())
            m_candidates->scrollTo(index);
    });
    connect(candidates->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                m_form.selectCandidate(current.isValid() ? current.row() : -1);
            });
    connect(candidates, &QAbstractItemView::doubleClicked, this, [this] { m_form.pickDish(); });
}

void FormBinder::showCandidates() {
    QList<DishRow> rows;
    rows.reserve(m_form.candidates().size());
    for (const DishRecord* dish : m_form.candidates())
        rows.append({dish->code, dish->letters, dish->name, dish->price, dish->unit});
    m_candidateModel->setRows(std::move(rows));
}

QWidget* FormBinder::widget(OrderField field) const {
    return m_widgets.value(int(field));
}

void FormBinder::focus(OrderField field, bool selectAll) {
    QWidget* target = widget(field);
    if (!target)
        return;
    target->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(target); edit && selectAll)
        edit->selectAll();
}

void FormBinder::showText(OrderField field, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget(field)); edit && edit->text() != text)
        edit->setText(text);
}

void FormBinder::showChoices(OrderField field) {
    auto* combo = qobject_cast<QComboBox*>(widget(field));
    if (!combo)
        return;
    const ChoiceList& list = m_form.choices(field);
    const QSignalBlocker block(combo);
    bool same = combo->count() == list.items.size();
    for (int i = 0; same && i < combo->count(); ++i)
        same = combo->itemText(i) == list.items[i];
    if (!same) {
        combo->clear();
        combo->addItems(list.items);
    }
    combo->setCurrentIndex(list.current);
}

bool FormBinder::eventFilter(QObject* watched, QEvent* event) {
    const auto found = m_fields.constFind(watched);
    if (watched == m_candidates && event->type() == QEvent::KeyPress)
        return candidateKey(static_cast<QKeyEvent*>(event));
    if (found == m_fields.cend())
        return QObject::eventFilter(watched, event);
    const OrderField field = *found;

    switch (event->type()) {
    case QEvent::FocusIn:
        if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && selectsAllOnFocus(field)) {
            // After a click, deferred: the press that brought the focus places the cursor afterwards. Any
            // other way selects at once, before the next key can be typed.
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
                QTimer::singleShot(0, edit, &QLineEdit::selectAll);
            else
                edit->selectAll();
        }
        break;
    case QEvent::FocusOut:
        m_form.fieldLeft(field);
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (field == OrderField::DishCode)
            return dishCodeKey(key);
        if (isEnter(key) && enterRule(field).consumed) {
            m_enterPending = field;
            return true;
        }
        break;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(key) && m_enterPending == field) {
            m_enterPending.reset();
            if (const std::optional<OrderField> next = enterRule(field).next)
                focus(*next, false);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool FormBinder::dishCodeKey(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Up:
        m_form.selectPreviousCandidate();
        return true;
    case Qt::Key_Down:
        m_form.selectNextCandidate();
        return true;
    case Qt::Key_Period:
        // No full stop in a code; the one on the number pad still types.
        return !key->modifiers().testFlag(Qt::KeypadModifier);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_form.pickDish();
        return false;
    default:
        return false;
    }
}

bool FormBinder::candidateKey(QKeyEvent* key) {
    if (!isEnter(key))
        return false;
    m_form.pickDish();
    return true;
}

} // namespace qm
