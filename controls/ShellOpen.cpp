#include "ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

std::function<void(const std::string&)> ShellOpenHook = [](const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
};

void ShellOpen(const std::string& url) {
    ShellOpenHook(url);
}
