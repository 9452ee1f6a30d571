#include "DecodeStream.h"

#include "SampleRateRange.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avstring.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The demuxers of the formats the editor imports. A playlist, a concatenation list, an image or a
// video-only container is never among them.
constexpr const char* AudioFormats =
    "wav,w64,asf,mp3,ogg,aiff,aac,ac3,eac3,ape,mpc,mpc8,flac,wv,tta,mov,caf";

AVDictionary* InputOptions() {
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", AudioFormats, 0);
    return options;
}

void CopyLayout(AVChannelLayout& target, const AVChannelLayout& source) {
    av_channel_layout_uninit(&target);
    if (source.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_check(&source) == 0)
        av_channel_layout_default(&target, source.nb_channels);
    else
        av_channel_layout_copy(&target, &source);
}

// Bytes of an ID3v2 tag at the start of the file (header included), 0 when there is none.
int64_t Id3v2Size(AVIOContext* io) {
    uint8_t header[10];
    const int got = avio_read(io, header, 10);
    avio_seek(io, 0, SEEK_SET);
    if (got != 10 || std::memcmp(header, "ID3", 3) != 0 ||
        ((header[6] | header[7] | header[8] | header[9]) & 0x80))
        return 0;
    const int64_t size =
        int64_t(header[6]) << 21 | int64_t(header[7]) << 14 | int64_t(header[8]) << 7 | header[9];
    return 10 + size + ((header[5] & 0x10) ? 10 : 0);
}

// The format of the file, recognised from its content alone: no name is given to the probe, so
// that an extension can never make a demuxer accept a file that does not look like its format. A
// leading ID3v2 tag larger than the probe's window (cover art) is stepped over.
const AVInputFormat* ProbeFormat(AVIOContext* io) {
    constexpr unsigned ProbeWindow = 1 << 20;
    const AVInputFormat* format = nullptr;
    if (av_probe_input_buffer2(io, &format, nullptr, nullptr, 0, 0) >= 0 && format)
        return format;
    const int64_t tag = Id3v2Size(io);
    if (tag < ProbeWindow || tag > INT32_MAX - 2 * int64_t(ProbeWindow))
        return nullptr;
    format = nullptr;
    if (av_probe_input_buffer2(io, &format, nullptr, nullptr, unsigned(tag),
                               unsigned(tag) + ProbeWindow) < 0)
        return nullptr;
    return format;
}

/// The most samples (all channels) that one decoded frame may become after conversion: a frame
/// of a far lower rate than the stream's would otherwise be resampled into gigabytes at once.
constexpr int64_t LargestConvertedFrame = int64_t(1) << 22;

} // namespace

DecodeStream::~DecodeStream() {
    av_frame_free(&Frame);
    av_packet_free(&Packet);
    swr_free(&Resampler);
    avcodec_free_context(&Codec);
    avformat_close_input(&Format);
    avio_closep(&Io);
    if (InLayout)
        av_channel_layout_uninit(InLayout.get());
    if (OutLayout)
        av_channel_layout_uninit(OutLayout.get());
}

std::unique_ptr<DecodeStream> DecodeStream::Open(const std::string& fileName) {
    std::unique_ptr<DecodeStream> stream(new DecodeStream);
    stream->Name = fileName;
    stream->InLayout = std::make_unique<AVChannelLayout>();
    stream->OutLayout = std::make_unique<AVChannelLayout>();
    if (!stream->OpenInput() || !stream->OpenDecoder() || !stream->Start())
        return nullptr;
    return stream;
}

bool DecodeStream::OpenInput() {
    // "file:" makes every name a local path: "concat:x", "http:x" or "a:b" are file names here.
    const std::string url = "file:" + Name;
    AVDictionary* options = InputOptions();
    int result = avio_open2(&Io, url.c_str(), AVIO_FLAG_READ, nullptr, &options);
    av_dict_free(&options);
    if (result < 0)
        return false;
    const AVInputFormat* format = ProbeFormat(Io);
    if (!format || av_match_list(format->name, AudioFormats, ',') <= 0)
        return false;
    Format = avformat_alloc_context();
    if (!Format)
        return false;
    Format->pb = Io;
    Format->flags |= AVFMT_FLAG_CUSTOM_IO;
    options = InputOptions();
    result = avformat_open_input(&Format, url.c_str(), format, &options);
    av_dict_free(&options);
    if (result < 0)
        return false;
    avformat_find_stream_info(Format, nullptr);
    return true;
}

bool DecodeStream::OpenDecoder() {
    const AVCodec* decoder = nullptr;
    StreamIndex = av_find_best_stream(Format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (StreamIndex < 0 || !decoder)
        return false;
    for (unsigned i = 0; i < Format->nb_streams; ++i)
        if (int(i) != StreamIndex)
            Format->streams[i]->discard = AVDISCARD_ALL;
    const AVStream* stream = Format->streams[StreamIndex];
    Codec = avcodec_alloc_context3(decoder);
    if (!Codec || avcodec_parameters_to_context(Codec, stream->codecpar) < 0)
        return false;
    Codec->pkt_timebase = stream->time_base;
    // Decoders that can give interleaved floats (MP3) then need no conversion at all.
    Codec->request_sample_fmt = AV_SAMPLE_FMT_FLT;
    if (avcodec_open2(Codec, decoder, nullptr) < 0)
        return false;
    SourceResolution = stream->codecpar->bits_per_raw_sample > 0
                           ? stream->codecpar->bits_per_raw_sample
                           : stream->codecpar->bits_per_coded_sample;
    Frame = av_frame_alloc();
    Packet = av_packet_alloc();
    return Frame && Packet;
}

bool DecodeStream::Start() {
    // The first decoded frame sets the stream's format.
    while (OutChannels == 0 && !Ended)
        DecodeMore();
    if (Failed)
        return false;
    if (OutChannels == 0) {
        // Nothing decoded. Packets that all failed mean a broken or foreign file; no packets at all
        // is a valid file without samples, which takes the container's format.
        const AVCodecParameters* parameters = Format->streams[StreamIndex]->codecpar;
        if (FailedPackets > 0 || parameters->sample_rate <= 0 ||
            parameters->ch_layout.nb_channels <= 0)
            return false;
        OutRate = parameters->sample_rate;
        OutChannels = parameters->ch_layout.nb_channels;
    }
    SetLength();
    return true;
}

void DecodeStream::SetLength() {
    Length = -1;
    if (Format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE)
        return;
    const AVStream* stream = Format->streams[StreamIndex];
    int64_t frames = -1;
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        frames = av_rescale_q(stream->duration, stream->time_base, AVRational{1, OutRate});
    else if (Format->duration != AV_NOPTS_VALUE && Format->duration > 0)
        frames = av_rescale(Format->duration, OutRate, AV_TIME_BASE);
    // A hostile container can state any duration; one that does not fit in bytes is unknown.
    const int64_t frameBytes = int64_t(OutChannels) * int64_t(sizeof(float));
    if (frames > 0 && frames <= INT64_MAX / frameBytes)
        Length = frames * frameBytes;
}

int32_t DecodeStream::Read(float* buffer, int32_t bytes) {
    if (OutChannels <= 0 || bytes <= 0)
        return 0;
    while (PendingEnd == ReadPos && !Ended) {
        PendingEnd = 0;
        ReadPos = 0;
        DecodeMore();
    }
    if (Failed)
        return -1;
    const size_t frameSamples = size_t(OutChannels);
    const size_t wanted = size_t(bytes) / (frameSamples * sizeof(float)) * frameSamples;
    const size_t count = std::min(wanted, PendingEnd - ReadPos);
    if (count > 0)
        std::memcpy(buffer, Pending.data() + ReadPos, count * sizeof(float));
    ReadPos += count;
    return int32_t(count * sizeof(float));
}

void DecodeStream::DecodeMore() {
    if (av_read_frame(Format, Packet) < 0) {
        // End of file or a read error: either way the stream ends here, after draining.
        avcodec_send_packet(Codec, nullptr);
        ReceiveFrames();
        Finish();
        Ended = true;
        return;
    }
    if (Packet->stream_index == StreamIndex) {
        int result = avcodec_send_packet(Codec, Packet);
        if (result == AVERROR(EAGAIN)) {
            ReceiveFrames();
            result = avcodec_send_packet(Codec, Packet);
        }
        if (result < 0)
            ++FailedPackets;
        ReceiveFrames();
    }
    av_packet_unref(Packet);
}

void DecodeStream::ReceiveFrames() {
    for (;;) {
        const int result = avcodec_receive_frame(Codec, Frame);
        if (result < 0) {
            if (result != AVERROR(EAGAIN) && result != AVERROR_EOF)
                ++FailedPackets;
            return;
        }
        TakeFrame(Frame);
        av_frame_unref(Frame);
    }
}

void DecodeStream::TakeFrame(AVFrame* frame) {
    if (Failed || frame->nb_samples <= 0 || frame->sample_rate <= 0 ||
        frame->ch_layout.nb_channels <= 0)
        return;
    if (!FrameFits(frame)) {
        Failed = true;
        Ended = true;
        return;
    }
    if (OutChannels == 0) {
        OutRate = frame->sample_rate;
        OutChannels = frame->ch_layout.nb_channels;
        CopyLayout(*OutLayout, frame->ch_layout);
    }
    if (!SameInput(frame) && !ConfigureResampler(frame))
        return;
    Convert(frame->extended_data, frame->nb_samples);
}

bool DecodeStream::FrameFits(const AVFrame* frame) const {
    const uint32_t rate = uint32_t(frame->sample_rate);
    if (rate < MinSampleRate || rate > MaxSampleRate)
        return false;
    if (OutChannels == 0)
        return int64_t(frame->nb_samples) * frame->ch_layout.nb_channels <= LargestConvertedFrame;
    return av_rescale(frame->nb_samples, OutRate, frame->sample_rate) * OutChannels <=
           LargestConvertedFrame;
}

bool DecodeStream::SameInput(const AVFrame* frame) const {
    if ((!Resampler && !Passthrough) || frame->format != InFormat || frame->sample_rate != InRate)
        return false;
    AVChannelLayout layout{};
    CopyLayout(layout, frame->ch_layout);
    const bool same = av_channel_layout_compare(&layout, InLayout.get()) == 0;
    av_channel_layout_uninit(&layout);
    return same;
}

bool DecodeStream::ConfigureResampler(const AVFrame* frame) {
    if (Resampler) {
        Convert(nullptr, 0);
        swr_free(&Resampler);
    }
    InFormat = frame->format;
    InRate = frame->sample_rate;
    CopyLayout(*InLayout, frame->ch_layout);
    Passthrough = InFormat == AV_SAMPLE_FMT_FLT && InRate == OutRate &&
                  av_channel_layout_compare(InLayout.get(), OutLayout.get()) == 0;
    if (Passthrough)
        return true;
    if (swr_alloc_set_opts2(&Resampler, OutLayout.get(), AV_SAMPLE_FMT_FLT, OutRate, InLayout.get(),
                            AVSampleFormat(InFormat), InRate, 0, nullptr) < 0 ||
        swr_init(Resampler) < 0) {
        swr_free(&Resampler);
        return false;
    }
    return true;
}

float* DecodeStream::Room(size_t samples) {
    if (Pending.size() < PendingEnd + samples)
        Pending.resize(PendingEnd + samples);
    return Pending.data() + PendingEnd;
}

void DecodeStream::Convert(const uint8_t* const* input, int32_t samples) {
    if (Passthrough) {
        const size_t count = size_t(samples) * size_t(OutChannels);
        if (input && count > 0) {
            std::memcpy(Room(count), input[0], count * sizeof(float));
            PendingEnd += count;
        }
        return;
    }
    // With no input the resampler gives out what it still holds, possibly in several rounds.
    for (;;) {
        const int room = swr_get_out_samples(Resampler, samples);
        if (room <= 0)
            return;
        auto* out = reinterpret_cast<uint8_t*>(Room(size_t(room) * size_t(OutChannels)));
        const int got =
            swr_convert(Resampler, &out, room, const_cast<const uint8_t**>(input), samples);
        PendingEnd += size_t(std::max(got, 0)) * size_t(OutChannels);
        if (input || got <= 0)
            return;
    }
}

void DecodeStream::Finish() {
    if (Resampler)
        Convert(nullptr, 0);
}

int64_t DecodeStream::FilePosition() const {
    return Io ? avio_tell(Io) : 0;
}

int64_t DecodeStream::FileSize() const {
    return Io ? avio_size(Io) : 0;
}

std::string DecodeStream::Metadata(const char* key) const {
    const AVDictionaryEntry* entry = av_dict_get(Format->metadata, key, nullptr, 0);
    if (!entry)
        entry = av_dict_get(Format->streams[StreamIndex]->metadata, key, nullptr, 0);
    return entry && entry->value ? entry->value : "";
}
