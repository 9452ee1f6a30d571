#include "TScrollBar.h"

#include <algorithm>
#include <cstdint>

namespace {

/// The arrows' step is kept in 16 bits.
constexpr int64_t MaxSmallStep = 32767;

} // namespace

TScrollBar::TScrollBar(QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent) {
    connect(this, &QAbstractSlider::actionTriggered, this, &TScrollBar::OnAction);
    Apply();
}

void TScrollBar::SetMin(int32_t value) {
    RangeMin = value;
    Apply();
}

void TScrollBar::SetMax(int32_t value) {
    RangeMax = value;
    Apply();
}

void TScrollBar::SetPageSize(int32_t value) {
    const int64_t length = int64_t(RangeMax) - RangeMin + 1;
    Page = int32_t(std::clamp<int64_t>(value, 0, std::max<int64_t>(length, 0)));
    Apply();
}

void TScrollBar::SetPosition(int32_t value) {
    setValue(value);
}

void TScrollBar::SetSmallChange(int64_t value) {
    Small = int32_t(std::clamp<int64_t>(value, 0, MaxSmallStep));
    setSingleStep(Small);
}

void TScrollBar::SetLargeChange(int64_t value) {
    Large = int32_t(std::clamp<int64_t>(value, 0, INT32_MAX));
}

void TScrollBar::Apply() {
    // The last position shows the range's last unit as the page's last one.
    const int64_t last = std::max<int64_t>(RangeMin, int64_t(RangeMax) - std::max(Page, 1) + 1);
    setRange(RangeMin, int32_t(last));
    // The thumb's length is the page; a page of 0 still shows a thumb.
    setPageStep(std::max(Page, 1));
}

void TScrollBar::OnAction(int action) {
    // A click beside the thumb moves by LargeChange, not by the page.
    if (action == SliderPageStepAdd)
        setSliderPosition(int32_t(std::min<int64_t>(int64_t(value()) + Large, maximum())));
    else if (action == SliderPageStepSub)
        setSliderPosition(int32_t(std::max<int64_t>(int64_t(value()) - Large, minimum())));
}
