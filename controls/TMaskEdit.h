#pragma once

#include "TEditMask.h"

#include <QLineEdit>

#include <optional>
#include <string>

/// A single-line edit with an edit mask in the program's own syntax (see TEditMask), such as
/// "!999:99.000;1; " for times and "!999999999999999;1; " for frame numbers. Text() gives the
/// text as the program reads it, blanks included; SetText() shows a text in the mask. Without a
/// mask it is a plain edit. Masked text is 8-bit (Latin-1), one character per position.
class TMaskEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TMaskEdit(QWidget* parent = nullptr);

    /// Sets the mask; the text is kept as far as it fits. An empty mask removes it.
    void SetEditMask(const std::string& mask);
    const std::string& EditMask() const { return MaskText; }

    std::string Text() const;
    void SetText(const std::string& text);

private:
    std::string MaskText;
    std::optional<TEditMask> Mask;
};
