#pragma once

#include <cstdint>

/// The tag library's one call: a text tag of a decoding stream's file. `format` names the tag as
/// "%TRCK", "%TITL", "%ARTI", "%ALBM", "%GNRE" or "%YEAR". The text is the tag's raw value in
/// UTF-8,
/// "" when the tag is missing (never "0"); nullptr for an unknown handle or format. The text stays
/// valid until the calling thread's next call.
///
/// Tags come from TagLib; for a file that TagLib cannot open or finds no such tag in (ADTS AAC,
/// AC3, TTA with APE tags, tags of an Ogg stream) from FFmpeg's metadata of the container and of
/// the audio stream.
const char* TAGS_Read(uint32_t handle, const char* format);
