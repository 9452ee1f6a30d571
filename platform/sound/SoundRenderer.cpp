#include "SoundRenderer.h"

#include "DirectSoundTypes.h"

#include <vector>

SoundRenderer::SoundRenderer(SoundRing& ring, std::unique_ptr<ISoundOutput> output,
                             uint32_t blockAlign)
    : Ring(ring)
    , Output(std::move(output))
    , BlockAlign(blockAlign)
    , Thread([this] { Run(); }) {}

SoundRenderer::~SoundRenderer() {
    Stopping = true;
    Output->Interrupt();
    Thread.join();
}

void SoundRenderer::Refresh() {
    if (!Stopping)
        Ring.Hear(Output->FramesHeard() * BlockAlign);
}

void SoundRenderer::Run() {
    Play();
    Output->Done();
}

void SoundRenderer::Play() {
    std::vector<uint8_t> period(static_cast<size_t>(Output->PeriodFrames()) * BlockAlign);
    while (!Stopping) {
        const uint32_t bytes = Ring.Take(period.data(), static_cast<uint32_t>(period.size()));
        if (bytes == 0) {
            Output->Drain();
            Ring.Hear(Output->FramesHeard() * BlockAlign);
            if (!Stopping)
                Ring.Finish(DS_OK);
            return;
        }
        const int32_t result = Output->Write(period.data(), bytes / BlockAlign);
        if (result != DS_OK) {
            Ring.Finish(result);
            return;
        }
        if (!Stopping)
            Ring.Hear(Output->FramesHeard() * BlockAlign);
    }
}
