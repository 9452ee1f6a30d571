#include "TPlayer.h"

#include "AppServices.h"
#include "DSCheck.h"
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
    BytesRead = 0;
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
    StopPending = false;
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

void TPlayer::SpanCopy(uint8_t* destination, uint32_t bytes) {
    // Bytes past the end of the table read as silence.
    Table->Read(2 * static_cast<int64_t>(StartSample) + BytesRead, destination, bytes);
}

uint8_t TPlayer::SilenceByte() const {
    return Format.wBitsPerSample == 8 ? 128 : 0;
}

void TPlayer::FillArea(uint8_t* area, uint32_t length, uint32_t first) {
    // `first` bytes of the range are in place; complete the area with the range from its start
    // again (looping) or with silence.
    if (Looping) {
        for (uint32_t at = first; at < length;) {
            BytesRead = 0;
            const uint32_t part = std::min(RangeBytes, length - at);
            SpanCopy(area + at, part);
            BytesRead = part;
            at += part;
        }
        return;
    }
    std::memset(area + first, SilenceByte(), length - first);
}

void TPlayer::FillBuffer() {
    BytesRead = 0;
    EndReached = false;
    WriteOffset = 0;
    {
        LockedArea area(*SoundBuffer, 0, BufferBytes);
        const uint32_t first = std::min(RangeBytes - BytesRead, area.Length);
        SpanCopy(area.Bytes, first);
        BytesRead += first;
        if (first < area.Length) {
            if (!Looping && first < SegmentBytes)
                EndReached = true;
            FillArea(area.Bytes, area.Length, first);
        }
        WriteOffset = (WriteOffset + area.Length) % BufferBytes;
    }
    BytesPlayed = 0;
    LastPlayCursor = 0;
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
    StopPending = false;
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
        UserInterface::ShowError(message);
    }
}

void TPlayer::CountPlayed() {
    const uint32_t cursor = SoundBuffer->GetCurrentPosition();
    if (cursor < LastPlayCursor)
        BytesPlayed += BufferBytes - LastPlayCursor + cursor;
    else
        BytesPlayed += cursor - LastPlayCursor;
    if (Looping && BytesPlayed > RangeBytes)
        BytesPlayed %= RangeBytes;
    LastPlayCursor = cursor;
}

void TPlayer::HandleNotify(int32_t index) {
    if (StopPending || !Document->IsReady()) {
        Stop(0);
        return;
    }
    CountPlayed();
    if (index == StopIndex) {
        StopPending = true;
        Stop(0);
        return;
    }
    if (EndReached) {
        SilenceSegment();
        // Judge the end by the segment boundary just passed, not by a late cursor, so that the
        // range's last segment is never cut off.
        const uint32_t boundary = BytesPlayed - BytesPlayed % SegmentBytes;
        if ((SegmentBytes < RangeBytes && RangeBytes - SegmentBytes <= boundary) ||
            RangeBytes <= boundary) {
            StopPending = true;
            BytesPlayed = RangeBytes;
        }
    } else {
        RefillSegment();
    }
    // The silence after the range is not part of it.
    if (OnPlayProcess)
        OnPlayProcess(static_cast<int32_t>(std::min(BytesPlayed, RangeBytes)));
}

void TPlayer::SilenceSegment() {
    // Silence every segment after the end, so nothing stale plays if the stop comes late.
    LockedArea area(*SoundBuffer, WriteOffset, SegmentBytes);
    std::memset(area.Bytes, SilenceByte(), area.Length);
    WriteOffset = (WriteOffset + area.Length) % BufferBytes;
}

void TPlayer::RefillSegment() {
    LockedArea area(*SoundBuffer, WriteOffset, SegmentBytes);
    const uint32_t n = std::min(RangeBytes - BytesRead, area.Length);
    SpanCopy(area.Bytes, n);
    BytesRead += n;
    if (n < area.Length) {
        if (!Looping)
            EndReached = true;
        FillArea(area.Bytes, area.Length, n);
    }
    WriteOffset = (WriteOffset + area.Length) % BufferBytes;
}

void TPlayer::Stop(uint32_t mode) {
    if (Playing) {
        Playing = false;
        SoundBuffer->Stop();
    }
    if (!(mode & 1)) {
        BytesRead = 0;
        EndReached = false;
        WriteOffset = 0;
        StopPending = false;
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
        if (Table && BytesPlayed < RangeBytes) {
            const int64_t s = int64_t(StartSample) + BytesPlayed / 2 + c;
            v = Table->ReadAt(2 * s);
        }
        levels[c] = static_cast<int16_t>(std::trunc(AmplitudeToDb(std::abs(v)) * 127 / 90 + 128));
    }
}
