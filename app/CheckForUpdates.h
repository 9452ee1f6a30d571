#pragma once

#include <string>

/// Where the update check asks and which program file it compares; tests point them elsewhere.
struct TUpdateSite {
    /// The maker's web site ("host" or "host:port"), also named in the check's messages.
    std::string Host = "www.quorvantex.com";
    /// The program file whose version is shown and compared and whose name is the User-Agent;
    /// empty for the running program.
    std::string ProgramFile;
    /// The check gives up when no data arrives for this long.
    int TimeoutMs = 30000;
};

/// The update site in force. Main thread only.
extern TUpdateSite UpdateSite;

/// UpdateSite.ProgramFile, or the running program's file when that is empty.
std::string VersionedProgramFile();

/// The product's web page on the maker's site.
std::string ProductPageUrl();

/// Asks the maker's site for the latest version, compares it with the program file's version and
/// says which is newer: "Unable to connect : <host>" when nothing came back, else an offer to
/// download a newer version (Yes opens the download) or "You already have the latest version  "
/// with the program's version. An answer other than digits and dots (blanks around them aside)
/// is not a newer version. Blocks the user interface until the message shows. Raises what
/// GetFileVersion and IsNewerVersion raise; callers run it through Guarded.
void CheckForUpdates();
