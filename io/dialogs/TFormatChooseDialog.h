#pragma once

#include "FormatChoice.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;

/// The window of the format chooser: a "Format:" list of format tags and an "Attributes:" list
/// of the chosen tag's formats, with OK and Cancel. Shows a FormatChoice, which it does not own
/// and which must outlive it; starts on the choice's initial entry.
class TFormatChooseDialog : public QDialog {
    Q_OBJECT

public:
    TFormatChooseDialog(const FormatChoice& choice, const QString& title,
                        QWidget* parent = nullptr);

    /// The entry selected now, as indexes into the choice's tags and that tag's formats.
    size_t SelectedTag() const;
    size_t SelectedFormat() const;

    QComboBox* FormatCombo;
    QComboBox* AttributesCombo;
    QDialogButtonBox* Buttons;

private:
    void FormatComboChange(int index);

    const FormatChoice& Choice;
};
