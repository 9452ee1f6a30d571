#include "ShowHelpTopic.h"

#include "Exceptions.h"
#include "ShellOpen.h"

#include <QString>
#include <QUrl>

#include <filesystem>

void ShowHelpTopic(const std::string& helpFile, const std::string& topic) {
    const std::string unable = "Unable to open help file " + helpFile;
    std::error_code error;
    if (!std::filesystem::is_regular_file(helpFile, error))
        throw Exception(unable);
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(helpFile));
    if (!topic.empty())
        url.setFragment(QString::fromStdString(topic));
    if (!ShellOpen(url.toString(QUrl::FullyEncoded).toStdString()))
        throw Exception(unable + "\rNo program on this system could open it");
}
