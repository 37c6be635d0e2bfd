#pragma once

// Where a slider goes for each scroll bar request. The codes are the
// WM_HSCROLL request codes (SB_LINELEFT...); they are repeated here so that
// this logic stays portable and testable, and checked against <windows.h>
// where the host includes it.

#include "window/form_definition.h"

#include <optional>

namespace taliven {

enum class ScrollRequest : unsigned {
    LineLeft = 0,      // left arrow button, Left or Up key
    LineRight = 1,     // right arrow button, Right or Down key
    PageLeft = 2,      // trough left of the thumb, Page Up
    PageRight = 3,     // trough right of the thumb, Page Down
    ThumbPosition = 4, // thumb released after a drag
    ThumbTrack = 5,    // thumb being dragged
    Left = 6,          // Home
    Right = 7,         // End
    EndScroll = 8,     // end of any of the above
};

// The new position for request code `code`, or nothing when the request does
// not move the slider (dragging, the end of a scroll, codes we do not know).
// `thumbPosition` is where a released thumb or "Scroll Here" asks to go.
// Every result lies in the slider's range, whatever the inputs.
[[nodiscard]] std::optional<int> targetPosition(unsigned code, int position, int thumbPosition,
                                                const SliderRange& range);

// Turns wheel rotation into slider steps: one step per notch of 120, with
// the partial notches of smooth wheels and touchpads carried over until they
// add up. Turning back drops what was carried the other way.
class WheelSteps {
  public:
    static constexpr int notch = 120; // WHEEL_DELTA
    [[nodiscard]] int add(int delta) noexcept {
        if ((delta > 0 && pending_ < 0) || (delta < 0 && pending_ > 0)) {
            pending_ = 0;
        }
        pending_ += delta;
        const int steps = pending_ / notch;
        pending_ -= steps * notch;
        return steps;
    }

  private:
    int pending_ = 0;
};

} // namespace taliven
