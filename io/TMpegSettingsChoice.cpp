#include "TMpegSettingsChoice.h"

#include "BitrateTables.h"

namespace {

int32_t Flag(bool value) {
    return value ? EncoderTrue : 0;
}

int32_t PresetOf(int32_t vbrMode) {
    constexpr int32_t presets[] = {EncoderPresetCbr, EncoderNoPreset, EncoderPresetAbr};
    return presets[vbrMode];
}

int32_t VbrMethodOf(int32_t vbrMode) {
    constexpr int32_t methods[] = {EncoderVbrNone, EncoderVbrDefault, EncoderVbrAbr};
    return methods[vbrMode];
}

} // namespace

TEncoderConfig TMpegSettingsChoice::EncoderConfig(int32_t sampleRate, int32_t channels) const {
    constexpr uint16_t DefaultQuality = 5;
    const int32_t mode = VbrMode >= 0 && VbrMode <= 2 ? VbrMode : 0;
    TEncoderConfig config{};
    config.Kind = EncoderConfigKind;
    config.StructVersion = EncoderConfigVersion;
    config.StructSize = sizeof(TEncoderConfig);
    config.SampleRate = uint32_t(sampleRate);
    config.ReSampleRate = 0;
    config.Mode = channels == 1 ? EncoderMono : EncoderStereo;
    config.Bitrate = uint32_t(BitrateKbps(sampleRate, Bitrate));
    config.MaxBitrate = uint32_t(BitrateKbps(sampleRate, MaxBitrate));
    config.Preset = PresetOf(mode);
    config.MpegVersion = sampleRate >= 32000 ? 1 : 0;
    config.Crc = Flag(Crc);
    config.Original = EncoderTrue;
    config.WriteVbrHeader = Flag(mode == 1);
    config.EnableVbr = Flag(mode != 0);
    config.VbrQuality = 8 - VbrQuality;
    config.VbrAbrBps = mode == 2 ? uint32_t(BitrateKbps(sampleRate, AvgBitrate)) * 1000 : 0;
    config.VbrMethod = VbrMethodOf(mode);
    config.Quality = DefaultQuality;
    return config;
}
