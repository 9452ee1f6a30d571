#include "StartProgram.h"

#include <QProcess>
#include <QStringList>

std::function<bool(const std::string&, const std::vector<std::string>&)> StartProgramHook =
    [](const std::string& program, const std::vector<std::string>& arguments) {
        QStringList list;
        for (const std::string& argument : arguments)
            list << QString::fromStdString(argument);
        return QProcess::startDetached(QString::fromStdString(program), list);
    };

bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
    return StartProgramHook(program, arguments);
}
