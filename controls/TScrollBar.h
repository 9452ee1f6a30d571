#pragma once

#include <QScrollBar>

#include <cstdint>

/// A horizontal scroll bar that counts the way the document window and the waveform view expect:
/// `Min` … `Max` is the whole range, `PageSize` the part that one view shows (the thumb's length),
/// `Position` the first shown unit (at most Max − PageSize + 1), `SmallChange` the step of the
/// arrows and `LargeChange` the step of a click beside the thumb. The small step is kept in 16 bits
/// (larger values are lowered to 32767), the large one in 32 bits, so that it can be a page of a
/// long document; a step of 0 is kept as 0 and moves nothing. Main thread only.
class TScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit TScrollBar(QWidget* parent = nullptr);

    int32_t Min() const { return RangeMin; }
    int32_t Max() const { return RangeMax; }
    int32_t PageSize() const { return Page; }
    int32_t Position() const { return value(); }
    int32_t SmallChange() const { return Small; }
    int32_t LargeChange() const { return Large; }

    void SetMin(int32_t value);
    void SetMax(int32_t value);
    /// Lowered to the range's length + 1 when greater.
    void SetPageSize(int32_t value);
    /// Kept within the positions the range and page size allow.
    void SetPosition(int32_t value);
    void SetSmallChange(int64_t value);
    void SetLargeChange(int64_t value);

private:
    void Apply();
    void OnAction(int action);

    int32_t RangeMin = 0;
    int32_t RangeMax = 100;
    int32_t Page = 0;
    int32_t Small = 1;
    int32_t Large = 1;
};
