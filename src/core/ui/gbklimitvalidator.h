#pragma once

#include <QValidator>

class QLineEdit;

// Limits typing to a number of GBK bytes (a Chinese character takes two). Text the program writes is not
// limited. A pasted text that does not fit is cut to the part that does, as typing it would stop there.
namespace qm {

class GbkLimitValidator : public QValidator {
    Q_OBJECT
public:
    GbkLimitValidator(int maxBytes, QObject* parent = nullptr)
        : QValidator(parent)
        , m_maxBytes(maxBytes) {}

    State validate(QString& input, int& position) const override;
    int maxBytes() const { return m_maxBytes; }

private:
    int m_maxBytes;
    // The text last validated: an insertion is told from what it adds to this.
    mutable QString m_last;
};

// Puts a GBK byte limit on typing into the edit box.
void limitGbkBytes(QLineEdit* edit, int maxBytes);

} // namespace qm
