#include "AppServices.h"

#include "Exceptions.h"
#include "StrToInt.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

std::string GetTempDirectory() {
    std::string folder;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp)
        folder = tmp;
    else
        folder = std::filesystem::temp_directory_path().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string MsToStr(int64_t ms) {
    const uint64_t value = uint64_t(std::max<int64_t>(ms, 0));
    char text[48];
    std::snprintf(text, sizeof text, "%.2llu:%.2llu.%.3llu",
                  static_cast<unsigned long long>(value / 60000),
                  static_cast<unsigned long long>(value % 60000 / 1000),
                  static_cast<unsigned long long>(value % 1000));
    return text;
}

int64_t StrToMs(std::string_view text) {
    const size_t colon = text.find(':');
    const std::string_view minutes = text.substr(0, colon == std::string_view::npos ? 0 : colon);
    const std::string_view rest =
        colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    const size_t point = rest.find('.');
    const std::string_view seconds = rest.substr(0, point == std::string_view::npos ? 0 : point);
    const std::string_view millis =
        point == std::string_view::npos ? std::string_view() : rest.substr(point + 1);
    const int64_t ms =
        int64_t(StrToInt(minutes)) * 60000 + int64_t(StrToInt(seconds)) * 1000 + StrToInt(millis);
    if (ms < 0)
        throw EConvertError("'" + std::string(text) + "' is not a valid time");
    return ms;
}

void FillPCMFormat(uint32_t sampleRate, uint32_t channels, uint32_t bits, WAVEFORMATEX& format) {
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<uint16_t>(channels);
    format.nSamplesPerSec = sampleRate;
    format.wBitsPerSample = static_cast<uint16_t>(bits);
    format.nBlockAlign = static_cast<uint16_t>((bits / 8) * channels);
    format.nAvgBytesPerSec = sampleRate * format.nBlockAlign;
    format.cbSize = 0;
}

double AmplitudeToDb(int32_t amplitude) {
    if (amplitude < 1)
        return -90.0;
    return 20.0 * std::log10(amplitude / 32767.0);
}
