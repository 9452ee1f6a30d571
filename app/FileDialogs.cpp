#include "FileDialogs.h"

#include "IFileDialogs.h"

#include <QFileDialog>

namespace {
IFileDialogs* InstalledDialogs = nullptr;
} // namespace

std::vector<std::string> RunOpenDialog(QFileDialog& dialog) {
    if (InstalledDialogs)
        return InstalledDialogs->RunOpen(dialog);
    std::vector<std::string> names;
    if (dialog.exec() == QDialog::Accepted)
        for (const QString& name : dialog.selectedFiles())
            names.push_back(name.toStdString());
    return names;
}

std::string RunSaveDialog(QFileDialog& dialog) {
    if (InstalledDialogs)
        return InstalledDialogs->RunSave(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first().toStdString();
}

void SetFileDialogs(IFileDialogs* dialogs) {
    InstalledDialogs = dialogs;
}
