#include "core/ui/gbklimitvalidator.h"

#include "core/gbk.h"

#include <QLineEdit>

namespace qm {

QValidator::State GbkLimitValidator::validate(QString& input, int&) const {
    return gbkLength(input) <= m_maxBytes ? Acceptable : Invalid;
}

void limitGbkBytes(QLineEdit* edit, int maxBytes) {
    edit->setValidator(new GbkLimitValidator(maxBytes, edit));
}

} // namespace qm
