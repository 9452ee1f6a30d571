#pragma once

#include "WaveFormat.h"

#include <cstdint>
#include <string>
#include <string_view>

/// The platform's temporary folder, ending with a path separator.
std::string GetTempDirectory();

/// Milliseconds as "mm:ss.zzz" (minutes grow past 99 as needed). Milliseconds are 64-bit: a
/// document at a low rate lasts longer than 32 bits of milliseconds hold.
std::string MsToStr(int64_t ms);

/// "m:s.z" back to milliseconds; raises EConvertError for a part that is not an integer and for
/// a negative time.
int64_t StrToMs(std::string_view text);

/// Fills a PCM wave format for the given rate, channels and bits per sample.
void FillPCMFormat(uint32_t sampleRate, uint32_t channels, uint32_t bits, WAVEFORMATEX& format);

/// 20·log10(v/32767), or −90 dB for anything below 1.
double AmplitudeToDb(int32_t amplitude);
