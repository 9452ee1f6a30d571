#pragma once

#include <QJsonObject>

#include <cstdint>
#include <string>
#include <vector>

/// Test helpers around MP3 files: levels, and ffprobe and the frame header as independent readers
/// (WavInspection.h has the ffmpeg decoder; Signals.h makes the input).

/// Root mean square of the samples in decibels relative to full scale.
double RmsDb(const std::vector<int16_t>& samples);

/// Root mean square in decibels of the samples without their first and last quarter second, where
/// an encoder's delay and padding add silence; for a steady tone it equals the tone's own level.
double SteadyRmsDb(const std::vector<int16_t>& samples, int32_t channels, int32_t rate);

/// ffprobe's description of the file's first audio stream.
QJsonObject ProbeStream(const std::string& path);

/// The four bytes of the first MPEG audio frame header in the file (it must start with one).
uint32_t FirstFrameHeader(const std::string& path);
