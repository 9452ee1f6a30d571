#include "ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

std::function<bool(const std::string&)> ShellOpenHook = [](const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
};

bool ShellOpen(const std::string& url) {
    return ShellOpenHook(url);
}
