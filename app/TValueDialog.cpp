#include "TValueDialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TValueDialog::TValueDialog(QWidget* owner)
    : TModalDialog(owner)
    , Group(new QGroupBox(this))
    , Spin(new TSpinEdit(Group))
    , OkButton(new QPushButton("&Ok", this))
    , CancelButton(new QPushButton("&Cancel", this)) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(292, 76);
    auto* groupLayout = new QVBoxLayout(Group);
    groupLayout->setContentsMargins(8, 4, 8, 6);
    groupLayout->addWidget(Spin);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 6);
    layout->addWidget(Group, 1);
    layout->addLayout(buttons);
    OkButton->setDefault(true);
    BindModalResult(OkButton, mrOk);
    BindModalResult(CancelButton, mrCancel);
}

void TValueDialog::Setup(const char* caption, const char* groupTitle, int32_t minValue,
                         int32_t maxValue, int32_t value) {
    setWindowTitle(caption);
    Group->setTitle(groupTitle);
    Spin->SetMinValue(minValue);
    Spin->SetMaxValue(maxValue);
    Spin->SetValue(value);
}
