#pragma once

#include "AcmTypes.h"
#include "WaveFormat.h"

#include <cstdint>
#include <string>
#include <vector>

/// A PCM format record built by hand for the tests.
WAVEFORMATEX PcmFormat(uint32_t rate, uint32_t channels, uint32_t bits);
/// A 531-byte target block holding `format` and its extra bytes.
WaveFormatBlock Block(const WAVEFORMATEX& format, const std::vector<uint8_t>& extra = {});

/// Writes `bytes` through a WAVWriter from `source` to `target`, `chunk` bytes per Write
/// (0: all at once), and closes it.
void WriteThroughWriter(const std::string& path, const WAVEFORMATEX& source,
                        const WaveFormatBlock& target, const std::vector<uint8_t>& bytes,
                        size_t chunk = 0);
