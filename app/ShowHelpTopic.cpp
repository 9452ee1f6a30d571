#include "ShowHelpTopic.h"

#include "Exceptions.h"
#include "ShellOpen.h"

#include <QString>
#include <QUrl>

#include <filesystem>

void ShowHelpTopic(const std::string& helpFile, const std::string& topic) {
    std::error_code error;
    if (std::filesystem::is_regular_file(helpFile, error)) {
        QUrl url = QUrl::fromLocalFile(QString::fromStdString(helpFile));
        if (!topic.empty())
            url.setFragment(QString::fromStdString(topic));
        if (ShellOpen(url.toString(QUrl::FullyEncoded).toStdString()))
            return;
    }
    throw Exception("Unable to open help file " + helpFile);
}
