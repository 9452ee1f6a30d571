#pragma once

#include <array>
#include <cstdint>
#include <vector>

/// The MP3 bitrates (kbps) that the settings dialog offers and that its list positions stand for.
///
/// Documents at 32000, 44100 and 48000 Hz use `HighRateBitrates`, at 16000 and 22050 Hz
/// `LowRateBitrates`, at 8000 and 11025 Hz `LowRateBitrates` from the third entry on; any other
/// rate has no table.
inline constexpr std::array<int32_t, 14> HighRateBitrates = {320, 256, 224, 192, 160, 128, 112,
                                                             96,  80,  64,  56,  48,  40,  32};
inline constexpr std::array<int32_t, 14> LowRateBitrates = {160, 144, 128, 112, 96, 80, 64,
                                                            56,  48,  40,  32,  24, 16, 8};

/// The values of the dialog's bitrate lists for a document at `sampleRate`, in list order; empty
/// for a rate without a table (the lists then keep what they hold).
std::vector<int32_t> BitrateListFor(int32_t sampleRate);

/// Kilobits per second of list position `itemIndex` for a document at `sampleRate`; 128 for a rate
/// without a table and for a position outside the list.
int32_t BitrateKbps(int32_t sampleRate, int32_t itemIndex);
