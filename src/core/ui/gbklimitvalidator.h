#pragma once

#include <QValidator>

class QLineEdit;

// Limits typing to a number of GBK bytes (a Chinese character takes two). Text the program writes is not
// limited.
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
};

// Puts a GBK byte limit on typing into the edit box.
void limitGbkBytes(QLineEdit* edit, int maxBytes);

} // namespace qm
