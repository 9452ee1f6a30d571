#include "TModalDialog.h"

#include <QAbstractButton>

TModalDialog::TModalDialog(QWidget* owner)
    : QDialog(owner) {}

int TModalDialog::ShowModal() {
    return exec();
}

void TModalDialog::accept() {
    done(mrOk);
}

void TModalDialog::reject() {
    done(mrCancel);
}

void TModalDialog::BindModalResult(QAbstractButton* button, int result) {
    connect(button, &QAbstractButton::clicked, this, [this, result] { done(result); });
}

void TModalDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (FirstFocus)
        FirstFocus->setFocus();
}
