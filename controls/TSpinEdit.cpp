#include "TSpinEdit.h"
#include "Exceptions.h"
#include "StrToInt.h"

#include <QLineEdit>

#include <algorithm>

TSpinEdit::TSpinEdit(QWidget* parent)
    : QAbstractSpinBox(parent) {
    SetValue(0);
}

void TSpinEdit::SetMinValue(int32_t value) {
    Minimum = value;
}

void TSpinEdit::SetMaxValue(int32_t value) {
    Maximum = value;
}

int32_t TSpinEdit::CheckValue(int64_t value) const {
    if (Minimum == 0 && Maximum == 0)
        return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    return static_cast<int32_t>(std::clamp<int64_t>(value, Minimum, std::max(Minimum, Maximum)));
}

int32_t TSpinEdit::Value() const {
    int64_t value = Minimum;
    try {
        value = StrToInt(lineEdit()->text().toStdString());
    } catch (const EConvertError&) {
    }
    return CheckValue(value);
}

void TSpinEdit::SetValue(int32_t value) {
    lineEdit()->setText(QString::number(CheckValue(value)));
}

void TSpinEdit::stepBy(int steps) {
    SetValue(CheckValue(static_cast<int64_t>(Value()) + static_cast<int64_t>(steps) * Step));
    selectAll();
}

QValidator::State TSpinEdit::validate(QString& input, int&) const {
    for (QChar c : input)
        if ((c < u'0' || c > u'9') && c != u'-' && c != u'+')
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    SetValue(Value());
    QAbstractSpinBox::focusOutEvent(event);
}
