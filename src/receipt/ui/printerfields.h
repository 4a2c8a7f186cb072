#pragma once

#include "receipt/printsettingseditor.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QStackedWidget;

namespace qm {

class DropDownComboBox;

// The receipt printer's fields: its kind, and for that kind the address and port, the device file or the
// queue; the cash drawer box and "打印测试页". The print settings window and the shop's set-up show the
// same fields.
class PrinterFields : public QWidget {
    Q_OBJECT
public:
    explicit PrinterFields(QWidget* parent = nullptr);

    void show(const PrintSettingsForm& form);
    // The printer part of `form` as the fields hold it.
    void collect(PrintSettingsForm& form) const;
    // Focuses the box of a field that failed validation, its text selected.
    void focusField(PrinterField field);

signals:
    void testPageRequested();

private:
    void showKind();

    QComboBox* m_kind;
    QStackedWidget* m_pages;
    QLineEdit* m_host;
    QLineEdit* m_port;
    DropDownComboBox* m_device;
    DropDownComboBox* m_queue;
    QCheckBox* m_kickDrawer;
};

// Focuses the box of `field` among a printer's boxes, its text selected; nothing for PrinterField::None.
void focusPrinterBox(PrinterField field, QLineEdit* host, QLineEdit* port, QWidget* device, QWidget* queue);

} // namespace qm
