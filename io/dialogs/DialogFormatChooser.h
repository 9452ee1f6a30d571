#pragma once

#include "IFormatChooser.h"

class QWidget;

/// The format chooser that the application installs: shows a modal TFormatChooseDialog over
/// `parent` (or the active window) for every request. Main thread only.
class DialogFormatChooser : public IFormatChooser {
public:
    explicit DialogFormatChooser(QWidget* parent = nullptr)
        : Parent(parent) {}

    uint32_t Choose(ACMFORMATCHOOSE& request) override;

private:
    QWidget* Parent;
};
