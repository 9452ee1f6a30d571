#include "ShellOpen.h"

#include "IShellOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
IShellOpener* InstalledOpener = nullptr;
} // namespace

bool ShellOpen(const std::string& url) {
    if (InstalledOpener)
        return InstalledOpener->Open(url);
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void SetShellOpener(IShellOpener* opener) {
    InstalledOpener = opener;
}
