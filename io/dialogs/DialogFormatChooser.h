#pragma once

#include "FormatChooser.h"

class QWidget;

/// The format chooser that the application installs: shows a modal TFormatChooseDialog over
/// `parent` (or the active window) for every request. Main thread only.
class DialogFormatChooser : public FormatChooser {
public:
    explicit DialogFormatChooser(QWidget* parent = nullptr)
        : Parent(parent) {}

    uint32_t Choose(ACMFORMATCHOOSE& request) override;

private:
    QWidget* Parent;
};
