#include "Mp3Probe.h"

#include "TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <stdexcept>

double RmsDb(const std::vector<int16_t>& samples) {
    double sum = 0;
    for (const int16_t s : samples)
        sum += double(s) * s;
    return 10 * std::log10(sum / double(samples.size()) / (32768.0 * 32768.0));
}

double SteadyRmsDb(const std::vector<int16_t>& samples, int32_t channels, int32_t rate) {
    const size_t skip = size_t(rate / 4) * size_t(channels);
    if (samples.size() <= 2 * skip)
        throw std::runtime_error("too few samples for a steady level");
    return RmsDb({samples.begin() + std::ptrdiff_t(skip), samples.end() - std::ptrdiff_t(skip)});
}

QJsonObject ProbeStream(const std::string& path) {
    const std::string json = RunProgram(
        {"ffprobe", "-v", "error", "-of", "json", "-show_streams", "-select_streams", "a", path});
    const QJsonArray streams =
        QJsonDocument::fromJson(QByteArray::fromStdString(json)).object()["streams"].toArray();
    if (streams.isEmpty())
        throw std::runtime_error("ffprobe found no audio stream in " + path);
    return streams[0].toObject();
}

uint32_t FirstFrameHeader(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    if (bytes.size() < 4)
        throw std::runtime_error(path + " is too short for a frame header");
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}
