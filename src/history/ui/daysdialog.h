#pragma once

#include <QDate>
#include <QDialog>

#include <functional>

class QDateEdit;

// The day pickers of the history window's filters: 请选择指定时间 (one day, 日期框1) and 请选择指定时间段
// ("从" 日期框1, "到" 日期框2), each with the button 按钮2 "确认". Both start at today.
namespace qm {

class Platform;

class DaysDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Day, Range };
    // `apply` gets the chosen days when 确认 is pressed; the dialog then closes. In range mode a first day
    // after the last is refused with a message and the dialog stays open.
    DaysDialog(Mode mode, Platform& platform, const std::function<void(QDate, QDate)>& apply,
               QWidget* parent = nullptr);

    void confirm();

private:
    Mode m_mode;
    Platform& m_platform;
    std::function<void(QDate, QDate)> m_apply;
    QDateEdit* m_first = nullptr;
    QDateEdit* m_last = nullptr;
};

} // namespace qm
