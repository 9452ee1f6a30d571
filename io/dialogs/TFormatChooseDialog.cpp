#include "TFormatChooseDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFormatChooseDialog::TFormatChooseDialog(const FormatChoice& choice, const QString& title,
                                         QWidget* parent)
    : QDialog(parent)
    , FormatCombo(new QComboBox(this))
    , AttributesCombo(new QComboBox(this))
    , Buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
    , Choice(choice) {
    setObjectName("TFormatChooseDialog");
    setWindowTitle(title);
    FormatCombo->setObjectName("FormatCombo");
    AttributesCombo->setObjectName("AttributesCombo");
    AttributesCombo->setMinimumContentsLength(36);
    Buttons->setObjectName("Buttons");

    auto* fields = new QFormLayout;
    fields->addRow(tr("&Format:"), FormatCombo);
    fields->addRow(tr("&Attributes:"), AttributesCombo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Buttons);

    for (const auto& tag : Choice.Tags())
        FormatCombo->addItem(QString::fromStdString(tag.Name));
    connect(FormatCombo, &QComboBox::currentIndexChanged, this,
            &TFormatChooseDialog::FormatComboChange);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    if (!Choice.Tags().empty()) {
        FormatCombo->setCurrentIndex(int(Choice.InitialTag()));
        FormatComboChange(int(Choice.InitialTag()));
        AttributesCombo->setCurrentIndex(int(Choice.InitialFormat()));
    }
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(!Choice.Tags().empty());
}

void TFormatChooseDialog::FormatComboChange(int index) {
    AttributesCombo->clear();
    if (index < 0 || size_t(index) >= Choice.Tags().size())
        return;
    for (const auto& entry : Choice.Tags()[size_t(index)].Formats)
        AttributesCombo->addItem(QString::fromStdString(entry.Attributes));
    AttributesCombo->setCurrentIndex(0);
}

size_t TFormatChooseDialog::SelectedTag() const {
    return size_t(std::max(FormatCombo->currentIndex(), 0));
}

size_t TFormatChooseDialog::SelectedFormat() const {
    return size_t(std::max(AttributesCombo->currentIndex(), 0));
}
