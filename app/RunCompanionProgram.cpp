#include "RunCompanionProgram.h"

#include "MessageDlg.h"
#include "ShellOpen.h"
#include "StartProgram.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace {

/// The program in the folder its store names, else where the PATH finds it; "" when neither has
/// it.
std::string InstalledProgram(QSettings& store, const std::string& programFile) {
    const std::string path = store.value("path").toString().toStdString();
    std::error_code error;
    if (!path.empty() && std::filesystem::is_regular_file(path + programFile, error))
        return path + programFile;
    return QStandardPaths::findExecutable(QString::fromStdString(programFile)).toStdString();
}

} // namespace

void RunCompanionProgram(QSettings& store, const std::string& programFile,
                         const std::string& parameter, const std::string& webPage) {
    const std::string program = InstalledProgram(store, programFile);
    if (!program.empty()) {
        StartProgram(program, {parameter});
        return;
    }
    MessageDlg("Component not found\r\nPlease download and install it from our site.",
               TMsgDlgType::mtInformation, mbOK);
    ShellOpen(webPage);
}

void RunCompanionProgram(const std::string& registryKey, const std::string& programFile,
                         const std::string& parameter, const std::string& webPage) {
    QStringList parts = QString::fromStdString(registryKey)
                            .split(QRegularExpression("[\\\\/]"), Qt::SkipEmptyParts);
    while (parts.size() < 2)
        parts.prepend(QString());
    QSettings store(parts[parts.size() - 2], parts.last());
    RunCompanionProgram(store, programFile, parameter, webPage);
}
