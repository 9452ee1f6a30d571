#pragma once

#include <string>

/// One HTTP GET that reads the start of the answer's body, whatever the HTTP status (an error
/// page's body counts as an answer). It waits in a local event loop that leaves user input
/// waiting, so the window stays painted but takes no clicks. Main thread only.
class TUpdateRequest {
public:
    /// `limit`: bytes to read at most (the rest is not read); `timeoutMs`: the request gives up
    /// when no data arrives for that long.
    TUpdateRequest(std::string url, std::string userAgent, int limit, int timeoutMs);

    /// The first bytes of the body, or an empty text when the server could not be reached, the
    /// connection failed or timed out, or the body was empty.
    std::string Run();

private:
    std::string Url;
    std::string UserAgent;
    int Limit;
    int TimeoutMs;
};
