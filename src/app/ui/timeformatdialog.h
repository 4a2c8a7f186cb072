#pragma once

#include <QDialog>

class QCheckBox;

namespace qm {

class Database;

// "选择时间格式": three boxes that act as one choice. Each click stores the chosen display time format at
// once and announces it.
class TimeFormatDialog : public QDialog {
    Q_OBJECT
public:
    TimeFormatDialog(const Database& db, int currentFormat, QWidget* parent = nullptr);

    int format() const { return m_format; }

signals:
    void timeFormatChanged(int format);

private:
    void choose(int format);

    const Database& m_db;
    int m_format;
    QList<QCheckBox*> m_boxes;
};

} // namespace qm
