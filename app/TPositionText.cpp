#include "TPositionText.h"

#include "AppServices.h"
#include "Exceptions.h"
#include "SampleRateRange.h"
#include "Settings.h"
#include "TWaveView.h"

#include <algorithm>
#include <charconv>

static_assert(int64_t(2147483647) / 2 / MinSampleRate / 60 < 1000000,
              "the time mask holds every position of every document");

namespace {

int64_t FrameNumber(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    int64_t value = 0;
    if (first != std::string::npos) {
        const char* begin = text.data() + first;
        const char* end = text.data() + last + 1;
        const auto [stop, error] = std::from_chars(begin, end, value);
        if (error == std::errc() && stop == end && value >= 0)
            return value;
    }
    throw EConvertError("'" + text + "' is not a valid integer value");
}

} // namespace

bool TPositionText::TimeMode() {
    return Settings.selectiontype == 0;
}

const char* TPositionText::Mask() {
    return TimeMode() ? TimeMask : SamplesMask;
}

const char* TPositionText::ResetText() {
    return TimeMode() ? "00:00.000" : "0";
}

std::string TPositionText::FromFrame(const TWaveView& view, uint32_t frame) {
    if (TimeMode())
        return MsToStr(view.FramesToMs(frame));
    return std::to_string(frame);
}

uint32_t TPositionText::ToFrame(const TWaveView& view, const std::string& text, uint32_t frames) {
    const int64_t frame = TimeMode() ? view.MsToFrames(StrToMs(text)) : FrameNumber(text);
    return uint32_t(std::clamp<int64_t>(frame, 0, frames));
}
