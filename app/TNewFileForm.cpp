#include "TNewFileForm.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TNewFileForm* NewFileForm = nullptr;

TNewFileForm::TNewFileForm(QWidget* owner)
    : TModalDialog(owner)
    , SamplerateBox(new QComboBox(this))
    , ChannelsBox(new QComboBox(this))
    , OkButton(new QPushButton("Ok", this))
    , CancelButton(new QPushButton("Cancel", this)) {
    setObjectName("NewFileForm");
    setWindowTitle("Create New File");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(292, 135);
    SamplerateBox->setObjectName("SamplerateBox");
    ChannelsBox->setObjectName("ChannelsBox");
    OkButton->setObjectName("OkButton");
    CancelButton->setObjectName("CancelButton");
    SamplerateBox->addItems({"48000", "44100", "32000", "22050", "16000", "11025", "8000"});
    SamplerateBox->setCurrentIndex(1);
    ChannelsBox->addItems({"Mono", "Stereo"});
    ChannelsBox->setCurrentIndex(0);

    auto* fields = new QFormLayout;
    fields->addRow(new QLabel("Sampling Rate:", this), SamplerateBox);
    fields->addRow(new QLabel("Channels:", this), ChannelsBox);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);
    OkButton->setDefault(true);
    BindModalResult(OkButton, mrOk);
    BindModalResult(CancelButton, mrCancel);
}
