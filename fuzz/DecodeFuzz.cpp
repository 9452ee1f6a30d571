// Any bytes as a source file, decoded the way a document load decodes it: the decode layer over
// FFmpeg, the float conversion, the peak builder and the progress.
#include "Exceptions.h"
#include "FuzzFolder.h"
#include "TBASSDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr int64_t TemporaryFileLimit = 64 << 20;
    const std::string source = WriteFuzzFile("source", data, size);
    TBASSDecoder decoder(
        source, FuzzFolder() + "/decoded", [](int32_t) {}, TemporaryFileLimit);
    try {
        if (decoder.Usable())
            decoder.DecodeToFile();
    } catch (const Exception&) {
        // A temporary file that cannot be written is the load's error report, not a fault.
    }
    return 0;
}
