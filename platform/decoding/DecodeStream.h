#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;
struct AVChannelLayout;
struct AVIOContext;

/// One audio file decoded to interleaved 32-bit float samples, read in order from start to end.
///
/// The file is opened as a local file only ("file:" URL, the file protocol alone), its format is
/// recognised from its content (never from its name) and must be one of the audio formats that the
/// editor imports, so that a hostile name or file can never make the decoder read a network
/// address, a playlist or another file. The rate and channel count are those of the first decoded
/// frame; later frames of another format are converted to them. A frame at a rate outside
/// MinSampleRate … MaxSampleRate, or one that would convert to more than four million samples
/// (all channels), fails the stream, so that memory use stays bounded. Packets that fail to decode
/// are skipped; at the end the decoder and the resampler are drained, and the stream always ends.
///
/// Used by one thread at a time. Samples are floats nominally within ±1.0.
class DecodeStream {
public:
    ~DecodeStream();
    DecodeStream(const DecodeStream&) = delete;
    DecodeStream& operator=(const DecodeStream&) = delete;

    /// Opens `fileName` (a path, never a URL). Returns nullptr when no audio stream of an imported
    /// format opens or when packets exist but none of them decodes.
    static std::unique_ptr<DecodeStream> Open(const std::string& fileName);

    int32_t Channels() const { return OutChannels; }
    int32_t SampleRate() const { return OutRate; }
    /// Bits of the source's samples, 0 when the codec does not say.
    int32_t SourceBits() const { return SourceResolution; }
    const std::string& FileName() const { return Name; }

    /// Bytes of float data the whole stream will give, or −1 when the container does not state its
    /// length (a length estimated from the bit rate counts as unknown).
    int64_t LengthBytes() const { return Length; }

    /// True while samples remain to be read, and after a failure until the stream is freed.
    bool Active() const { return Failed || !(Ended && PendingEnd == ReadPos); }

    /// Copies up to `bytes` bytes of whole frames into `buffer` and returns how many it copied;
    /// 0 only at the end of the stream, −1 (again and again) once the stream has failed.
    int32_t Read(float* buffer, int32_t bytes);

    /// Bytes of the file read by the demuxer so far, and the file's size.
    int64_t FilePosition() const;
    int64_t FileSize() const;

    /// A metadata value of the container or of the audio stream ("" when absent); keys are compared
    /// without regard to case.
    std::string Metadata(const char* key) const;

private:
    DecodeStream() = default;
    bool OpenInput();
    bool OpenDecoder();
    bool Start();
    void DecodeMore();
    void ReceiveFrames();
    void TakeFrame(AVFrame* frame);
    bool FrameFits(const AVFrame* frame) const;
    bool SameInput(const AVFrame* frame) const;
    bool ConfigureResampler(const AVFrame* frame);
    void Convert(const uint8_t* const* input, int32_t samples);
    float* Room(size_t samples);
    void Finish();
    void SetLength();

    std::string Name;
    AVIOContext* Io = nullptr;
    AVFormatContext* Format = nullptr;
    AVCodecContext* Codec = nullptr;
    SwrContext* Resampler = nullptr;
    AVFrame* Frame = nullptr;
    AVPacket* Packet = nullptr;
    int32_t StreamIndex = -1;
    int32_t OutRate = 0;
    int32_t OutChannels = 0;
    int32_t SourceResolution = 0;
    // Format of the frames the resampler is set up for.
    int32_t InRate = 0;
    int32_t InFormat = -1;
    std::unique_ptr<AVChannelLayout> InLayout;
    std::unique_ptr<AVChannelLayout> OutLayout;
    int64_t Length = -1;
    int64_t FailedPackets = 0;
    bool Ended = false;
    bool Failed = false;
    bool Passthrough = false; // frames are already interleaved floats of the stream's format
    // Decoded samples not yet read: Pending[ReadPos … PendingEnd). The vector only grows, so that
    // it is not cleared again for every packet.
    std::vector<float> Pending;
    size_t PendingEnd = 0;
    size_t ReadPos = 0;
};
