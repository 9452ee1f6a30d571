#include "TPlayer.h"

#include "AppServices.h"
#include "DSCheck.h"
#include "MainThreadDispatcher.h"
#include "TWavefileDocument.h"
#include "UserInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

constexpr uint32_t Segments = 16;
constexpr int32_t StopIndex = 16;
constexpr uint32_t BufferFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPOSITIONNOTIFY |
                                 DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;

uint32_t ChannelMask(uint16_t channels) {
    switch (channels) {
    case 1:
        return 0x4;
    case 2:
        return 0x3;
    case 3:
        return 0xB;
    case 4:
        return 0x33;
    case 5:
        return 0x3B;
    case 6:
        return 0x3F;
    case 8:
        return 0xFF;
    default:
        return 0;
    }
}

/// The first area of a buffer lock, unlocked when the object goes, also when a copy into it
/// raised.
class LockedArea {
public:
    LockedArea(TDirectSoundBuffer& buffer, uint32_t offset, uint32_t bytes)
        : Buffer(buffer) {
        void* area = nullptr;
        Buffer.Lock(offset, bytes, &area, &Length, nullptr, nullptr, 0);
        Bytes = static_cast<uint8_t*>(area);
    }
    ~LockedArea() noexcept(false) {
        if (std::uncaught_exceptions() > Pending) {
            try {
                Buffer.Unlock(Bytes, Length, nullptr, 0);
            } catch (...) {
            }
            return;
        }
        Buffer.Unlock(Bytes, Length, nullptr, 0);
    }
    LockedArea(const LockedArea&) = delete;
    LockedArea& operator=(const LockedArea&) = delete;

    uint8_t* Bytes = nullptr;
    uint32_t Length = 0;

private:
    TDirectSoundBuffer& Buffer;
    const int Pending = std::uncaught_exceptions();
};

} // namespace

TPlayer::TPlayer()
    : Device(std::make_unique<TDirectSound>(nullptr, 0)) {
    Device->SetCooperativeLevel(nullptr, DSSCL_NORMAL);
}

TPlayer::~TPlayer() {
    // The owner is going away too: its handlers are not called from here.
    OnPlayProcess = nullptr;
    OnPlayStatus = nullptr;
    try {
        Stop(3);
    } catch (...) {
        // A destructor has no one to report to; the buffer is freed below in any case.
    }
    FreeBuffer();
    Device.reset();
}

void TPlayer::Prepare(IPlayerDocument& document, uint32_t startSample, uint32_t rangeBytes,
                      const WAVEFORMATEX& format, bool loop) {
    Close();
    Document = &document;
    Table = document.CurrentTable();
    StartSample = startSample;
    Format = format;
    // Looping nothing would never fill a segment.
    Looping = loop && rangeBytes > 0;
    RangeBytes = rangeBytes;
    if (Format.nBlockAlign == 0 || Format.nSamplesPerSec == 0 || !Table)
        DSCheck(DSERR_BADFORMAT);
    SegmentBytes = Format.nBlockAlign * Format.nSamplesPerSec / Segments;
    if (SegmentBytes % Format.nBlockAlign != 0)
        SegmentBytes += Format.nBlockAlign - SegmentBytes % Format.nBlockAlign;
    BufferBytes = Segments * SegmentBytes;

    WAVEFORMATEXTENSIBLE extensible{};
    extensible.Format = Format;
    extensible.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    extensible.Format.cbSize = 22;
    extensible.wValidBitsPerSample = 16;
    extensible.dwChannelMask = ChannelMask(Format.nChannels);
    extensible.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = BufferFlags;
    description.dwBufferBytes = BufferBytes;
    description.lpwfxFormat = &extensible.Format;
    description.guid3DAlgorithm = GUID_NULL;
    try {
        SoundBuffer = std::make_unique<TDirectSoundBuffer>(*Device, description);
        FillBuffer();
    } catch (...) {
        FreeBuffer();
        throw;
    }
    Played = false;
    Prepared = true;
}

void TPlayer::Prepare(Twavefile& document, uint32_t startSample, uint32_t rangeBytes,
                      const WAVEFORMATEX& format, bool loop) {
    // The previous document stays alive until Prepare has stopped its playback.
    const std::unique_ptr<IPlayerDocument> previous = std::move(OwnedDocument);
    OwnedDocument = std::make_unique<TWavefileDocument>(document);
    Prepare(*OwnedDocument, startSample, rangeBytes, format, loop);
}

void TPlayer::SpanCopy(uint8_t* destination, uint32_t offset, uint32_t bytes) {
    // Bytes past the end of the table read as silence.
    Table->Read(2 * static_cast<int64_t>(StartSample) + offset, destination, bytes);
}

uint8_t TPlayer::SilenceByte() const {
    return Format.wBitsPerSample == 8 ? 128 : 0;
}

void TPlayer::FillSpan(uint8_t* destination, uint64_t at, uint32_t bytes) {
    // What the device plays `at` bytes after the start: the range, then silence, or the range
    // over and over when looping.
    if (Looping) {
        for (uint32_t done = 0; done < bytes;) {
            const auto offset = static_cast<uint32_t>((at + done) % RangeBytes);
            const uint32_t part = std::min(bytes - done, RangeBytes - offset);
            SpanCopy(destination + done, offset, part);
            done += part;
        }
        return;
    }
    const auto inRange =
        static_cast<uint32_t>(at < RangeBytes ? std::min<uint64_t>(bytes, RangeBytes - at) : 0);
    SpanCopy(destination, static_cast<uint32_t>(std::min<uint64_t>(at, RangeBytes)), inRange);
    std::memset(destination + inRange, SilenceByte(), bytes - inRange);
}

void TPlayer::FillBuffer() {
    EndReached = false;
    {
        LockedArea area(*SoundBuffer, 0, BufferBytes);
        FillSpan(area.Bytes, 0, area.Length);
        BytesWritten = area.Length;
    }
    EndReached = !Looping && BytesWritten >= RangeBytes;
    BytesPlayed = 0;
}

void TPlayer::SetupNotify() {
    uint32_t offsets[Segments + 1];
    for (uint32_t i = 0; i < Segments; ++i)
        offsets[i] = SegmentBytes * (i + 1);
    offsets[Segments - 1] = BufferBytes - 1;
    offsets[Segments] = DSBPN_OFFSETSTOP;
    SoundBuffer->OnNotify = [this](TDirectSoundBuffer* sender, int32_t index) {
        OnBufferNotify(sender, index);
    };
    SoundBuffer->SetNotifications(Segments + 1, offsets);
}

void TPlayer::Play() {
    if (Playing)
        Stop(0);
    if (!Prepared || !SoundBuffer) {
        Playing = false;
        FireStatus(false);
        return;
    }
    // Replacing the notification thread may deliver the stop of an earlier play, which resets
    // the fill state: refill only after it.
    SetupNotify();
    if (Played)
        FillBuffer();
    SoundBuffer->SetCurrentPosition(0);
    if (EndReached)
        SoundBuffer->SetPlayEnd(RangeBytes);
    StartBuffer();
    Playing = true;
    Played = true;
    FireStatus(true);
}

void TPlayer::StartBuffer() {
    Document->PlayingGate().Reset();
    try {
        SoundBuffer->Play(DSBPLAY_LOOPING);
    } catch (...) {
        Document->PlayingGate().Set();
        Playing = false;
        FireStatus(false);
        throw;
    }
}

void TPlayer::OnBufferNotify(TDirectSoundBuffer*, int32_t index) {
    try {
        HandleNotify(index);
    } catch (const std::exception& error) {
        const std::string message = error.what();
        try {
            Stop(0);
        } catch (...) {
            // The buffer is gone with the device; the player is stopped all the same.
        }
        // Shown after this notification returns: a modal box inside it would hold the
        // notification thread, and whatever the user does in the box would run inside it.
        MainThreadDispatcher::Queue([message] { UserInterface::ShowError(message); });
    }
}

void TPlayer::HandleNotify(int32_t index) {
    if (!Document->IsReady()) {
        Stop(0);
        return;
    }
    BytesPlayed = SoundBuffer->GetPlayedBytes();
    // The range heard to its last frame, or the device stopped by itself at its end: the end,
    // whichever notification comes first after it.
    if (Playing && EndReached && (BytesPlayed >= RangeBytes || index == StopIndex)) {
        BytesPlayed = RangeBytes;
        ReportProgress();
        Stop(0);
        return;
    }
    if (index == StopIndex) {
        Stop(0);
        return;
    }
    CatchUp();
    ReportProgress();
}

void TPlayer::CatchUp() {
    // Every segment played since the last refill gets the bytes the device reaches there next.
    // Segments that played while the main thread was away for more than the ring's length are
    // past: the segment being heard is rewritten, so the sound goes on from where it is now.
    const uint64_t heard = BytesPlayed / SegmentBytes;
    const uint64_t end = heard + Segments;
    for (uint64_t segment = std::max(BytesWritten / SegmentBytes, heard); segment < end; ++segment)
        WriteSegment(segment);
}

void TPlayer::WriteSegment(uint64_t segment) {
    const auto offset = static_cast<uint32_t>(segment % Segments) * SegmentBytes;
    {
        LockedArea area(*SoundBuffer, offset, SegmentBytes);
        FillSpan(area.Bytes, segment * SegmentBytes, area.Length);
    }
    BytesWritten = (segment + 1) * SegmentBytes;
    if (!Looping && !EndReached && BytesWritten >= RangeBytes)
        MarkEnd();
}

void TPlayer::MarkEnd() {
    // The range's last byte is in the ring: the device plays up to it and stops by itself.
    EndReached = true;
    SoundBuffer->SetPlayEnd(RangeBytes);
}

uint32_t TPlayer::PlayPosition() const {
    if (Looping)
        return static_cast<uint32_t>(BytesPlayed % RangeBytes);
    return static_cast<uint32_t>(std::min<uint64_t>(BytesPlayed, RangeBytes));
}

void TPlayer::ReportProgress() {
    if (OnPlayProcess)
        OnPlayProcess(static_cast<int32_t>(PlayPosition()));
}

void TPlayer::Stop(uint32_t mode) {
    if (Playing) {
        Playing = false;
        SoundBuffer->Stop();
    }
    if (!(mode & 1)) {
        BytesWritten = 0;
        EndReached = false;
    } else if (Prepared) {
        FreeBuffer();
    }
    FireStatus(false);
    if (Document)
        Document->PlayingGate().Set();
}

void TPlayer::FreeBuffer() {
    if (!SoundBuffer)
        return;
    // A stop notification delivered while the buffer goes has nothing left to do.
    SoundBuffer->OnNotify = nullptr;
    SoundBuffer.reset();
    Prepared = false;
}

void TPlayer::Close() {
    Stop(1);
}

void TPlayer::FireStatus(bool playing) {
    if (OnPlayStatus)
        OnPlayStatus(playing);
}

void TPlayer::GetLevels(std::span<int16_t> levels) {
    const uint32_t channels = std::min<uint32_t>(Format.nChannels, levels.size());
    for (uint32_t c = 0; c < channels; ++c) {
        int32_t v = 0;
        if (Table && PlayPosition() < RangeBytes) {
            const int64_t s = int64_t(StartSample) + PlayPosition() / 2 + c;
            v = Table->ReadAt(2 * s);
        }
        levels[c] = static_cast<int16_t>(std::trunc(AmplitudeToDb(std::abs(v)) * 127 / 90 + 128));
    }
}
