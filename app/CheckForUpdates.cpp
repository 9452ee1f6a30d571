#include "CheckForUpdates.h"
#include "GetFileVersion.h"
#include "IsNewerVersion.h"
#include "MessageDlg.h"
#include "ShellOpen.h"
#include "TUpdateRequest.h"

#include <filesystem>

TUpdateSite UpdateSite;

namespace {
constexpr int AnswerLimit = 1024;

std::string SiteUrl(const std::string& path) {
    return "http://" + UpdateSite.Host + path;
}

// The text without leading and trailing blanks and control characters.
std::string Trimmed(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// A version as the server states it: digits and dots only. Anything else (an error page, or text
// that a message box would show as a link) is no version at all.
bool IsVersionText(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789.") == std::string::npos;
}
} // namespace

std::string VersionedProgramFile() {
    return UpdateSite.ProgramFile.empty() ? ProgramFileName() : UpdateSite.ProgramFile;
}

std::string ProductPageUrl() {
    return SiteUrl("/sondrix/");
}

void CheckForUpdates() {
    const std::string program = VersionedProgramFile();
    const std::string agent = std::filesystem::path(program).filename().string();
    const std::string response =
        TUpdateRequest(SiteUrl("/pad/getpad.php?pad=sondrix/sondrix.xml&field=version"), agent,
                       AnswerLimit, UpdateSite.TimeoutMs)
            .Run();
    if (response.empty()) {
        MessageDlg("Unable to connect : " + UpdateSite.Host, TMsgDlgType::mtInformation, mbOK);
        return;
    }
    const std::string local = GetFileVersion(program);
    const std::string remote = Trimmed(response);
    if (!IsVersionText(remote) || !IsNewerVersion(remote, local)) {
        MessageDlg("You already have the latest version  " + local, TMsgDlgType::mtConfirmation,
                   mbOK);
        return;
    }
    const std::string offer = "New Version " + response + "\r\navailable from http://" +
                              UpdateSite.Host + "\r\nWould you like to download it now?";
    if (MessageDlg(offer, TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes)
        ShellOpen(SiteUrl("/downloads/sondrix.exe"));
}
