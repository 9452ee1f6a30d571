#include "TMaskEdit.h"

TMaskEdit::TMaskEdit(QWidget* parent)
    : QLineEdit(parent) {}

void TMaskEdit::SetEditMask(const std::string& mask) {
    std::string text = Text();
    MaskText = mask;
    if (mask.empty()) {
        Mask.reset();
        setInputMask(QString());
    } else {
        Mask.emplace(mask);
        setInputMask(QString::fromStdString(Mask->QtMask()));
    }
    SetText(text);
}

std::string TMaskEdit::Text() const {
    if (!Mask)
        return text().toStdString();
    return Mask->TextFromEdit(displayText().toLatin1().toStdString());
}

void TMaskEdit::SetText(const std::string& text) {
    if (!Mask) {
        setText(QString::fromStdString(text));
        return;
    }
    setText(QString::fromLatin1(Mask->EditFromText(text)));
}
