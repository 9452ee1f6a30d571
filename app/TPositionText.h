#pragma once

#include <cstdint>
#include <string>

class TWaveView;

/// Positions as the selection edits, the status bar and the cursor display show them: times
/// "mm:ss.zzz" or decimal frame numbers, by the scale kind in the settings (0 times, 1 frames).
class TPositionText {
public:
    /// Up to six minute digits: the longest document (just under 2 GiB of mono audio at the
    /// lowest rate a document may have) lasts 178,956 minutes.
    static constexpr const char* TimeMask = "!999999:99.000;1; ";
    static constexpr const char* SamplesMask = "!999999999999999;1; ";

    static bool TimeMode();
    /// The edit mask of the scale kind in force.
    static const char* Mask();
    /// What the selection edits show when there is no selection: "00:00.000" or "0".
    static const char* ResetText();

    /// `frame` of the view's document as text of the scale kind in force.
    static std::string FromFrame(const TWaveView& view, uint32_t frame);
    /// A typed text of the scale kind in force as a frame of the view's document, lowered to
    /// `frames`. Raises EConvertError for a text that is not a time or a number.
    static uint32_t ToFrame(const TWaveView& view, const std::string& text, uint32_t frames);
};
