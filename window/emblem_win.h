#pragma once

#include "window/grey_image.h"
#include "window/handles_win.h"

#include <windows.h>

namespace taliven {

// The emblem from the exe's resources, as grey levels. Throws ControlError
// when the resource is missing or not an 8-bit palette picture.
[[nodiscard]] GreyImage loadEmblem(HINSTANCE instance);

// A device-independent bitmap of `image` with a grey palette, for a static
// picture control.
[[nodiscard]] UniqueBitmap makeGreyBitmap(const GreyImage& image);

} // namespace taliven
