#include "DialogFormatChooser.h"

#include "FormatChoice.h"
#include "TFormatChooseDialog.h"

#include <QApplication>

uint32_t DialogFormatChooser::Choose(ACMFORMATCHOOSE& request) {
    const FormatChoice choice(request);
    if (choice.Status() != 0)
        return choice.Status();
    TFormatChooseDialog dialog(choice, QString::fromStdString(request.pszTitle),
                               Parent ? Parent : QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return ACMERR_CANCELED;
    return choice.Accept(dialog.SelectedTag(), dialog.SelectedFormat(), request);
}
