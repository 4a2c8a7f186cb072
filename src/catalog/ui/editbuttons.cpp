#include "catalog/ui/editbuttons.h"

#include "core/ui/plainbutton.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace qm {

ListEditButtons listEditButtons(QWidget* parent) {
    ListEditButtons buttons;
    buttons.add = plainButton(QStringLiteral("按钮1"), QStringLiteral("添加"), parent);
    buttons.modify = plainButton(QStringLiteral("按钮3"), QStringLiteral("修改"), parent);
    buttons.remove = plainButton(QStringLiteral("按钮2"), QStringLiteral("删除"), parent);
    buttons.row = new QHBoxLayout;
    buttons.row->addStretch();
    buttons.row->addWidget(buttons.add);
    buttons.row->addWidget(buttons.modify);
    buttons.row->addWidget(buttons.remove);
    return buttons;
}

QPushButton* addOrModifyButton(bool adding, QWidget* parent) {
    auto* button = new QPushButton(adding ? QStringLiteral("添加") : QStringLiteral("修改"), parent);
    button->setObjectName(QStringLiteral("按钮1"));
    button->setDefault(true);
    return button;
}

} // namespace qm
