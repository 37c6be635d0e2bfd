#include "window/slider_steps.h"

#include <algorithm>

namespace taliven {

std::optional<int> targetPosition(unsigned code, int position, int thumbPosition,
                                  const SliderRange& range) {
    const auto clamp = [&range](long long value) {
        return static_cast<int>(std::clamp<long long>(value, range.minimum, range.maximum));
    };
    switch (static_cast<ScrollRequest>(code)) {
    case ScrollRequest::LineLeft:
        return clamp(static_cast<long long>(position) - range.lineStep);
    case ScrollRequest::LineRight:
        return clamp(static_cast<long long>(position) + range.lineStep);
    case ScrollRequest::PageLeft:
        return clamp(static_cast<long long>(position) - range.pageStep);
    case ScrollRequest::PageRight:
        return clamp(static_cast<long long>(position) + range.pageStep);
    case ScrollRequest::ThumbPosition:
        return clamp(thumbPosition);
    case ScrollRequest::Left:
        return range.minimum;
    case ScrollRequest::Right:
        return range.maximum;
    case ScrollRequest::ThumbTrack:
    case ScrollRequest::EndScroll:
        break;
    }
    return std::nullopt;
}

} // namespace taliven
