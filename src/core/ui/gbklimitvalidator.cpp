#include "core/ui/gbklimitvalidator.h"

#include "core/gbk.h"

#include <QLineEdit>

#include <utility>

namespace qm {

QValidator::State GbkLimitValidator::validate(QString& input, int& position) const {
    const QString last = std::exchange(m_last, input);
    if (gbkLength(input) <= m_maxBytes || gbkLength(input) <= gbkLength(last))
        return Acceptable;
    // A text the program sets leaves the box unmodified while it is checked; it stays as written.
    const auto* edit = qobject_cast<const QLineEdit*>(parent());
    if (edit && !edit->isModified())
        return Invalid;
    // Typed or pasted: what stands after the cursor is the end of the text before, what stands before
    // the inserted part is its start.
    const qsizetype suffix = input.size() - position;
    if (position < 0 || suffix < 0 || suffix > last.size() ||
        QStringView(last).right(suffix) != QStringView(input).mid(position))
        return Invalid;
    qsizetype start = 0;
    while (start < position && start < last.size() - suffix && input[start] == last[start])
        ++start;
    QString kept = input.mid(start, position - start);
    const QString head = input.left(start);
    const QString tail = input.mid(position);
    while (!kept.isEmpty() && gbkLength(head + kept + tail) > m_maxBytes) {
        kept.chop(1);
        if (!kept.isEmpty() && kept.back().isHighSurrogate())
            kept.chop(1);
    }
    input = head + kept + tail;
    position = int(start + kept.size());
    m_last = input;
    return Acceptable;
}

void limitGbkBytes(QLineEdit* edit, int maxBytes) {
    edit->setValidator(new GbkLimitValidator(maxBytes, edit));
}

} // namespace qm
