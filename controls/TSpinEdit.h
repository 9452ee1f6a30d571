#pragma once

#include <QAbstractSpinBox>

#include <cstdint>

/// A numeric edit with up and down buttons that accepts whatever integer is typed. Its value is
/// the text as an integer (the minimum when the text is not one), clamped to MinValue ..
/// MaxValue unless both are 0 (no limit). The clamp applies when the value is read, set or
/// stepped, and when the focus leaves the box (the text then shows the clamped value). Typing is
/// limited to digits and signs.
class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int32_t MinValue() const { return Minimum; }
    int32_t MaxValue() const { return Maximum; }
    void SetMinValue(int32_t value);
    void SetMaxValue(int32_t value);
    int32_t Increment() const { return Step; }
    void SetIncrement(int32_t value) { Step = value; }

    int32_t Value() const;
    void SetValue(int32_t value);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int32_t CheckValue(int64_t value) const;

    int32_t Minimum = 0;
    int32_t Maximum = 0;
    int32_t Step = 1;
};
