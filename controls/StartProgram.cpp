#include "StartProgram.h"

#include "IProgramStarter.h"

#include <QProcess>
#include <QStringList>

namespace {
IProgramStarter* InstalledStarter = nullptr;
} // namespace

bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
    if (InstalledStarter)
        return InstalledStarter->Start(program, arguments);
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    return QProcess::startDetached(QString::fromStdString(program), list);
}

void SetProgramStarter(IProgramStarter* starter) {
    InstalledStarter = starter;
}
