#pragma once

#include "window/handles_win.h"

#include <windows.h>

namespace taliven {

// The title bar's icon, `sizePx` square, made from the program's 32 x 32
// icon by averaging areas rather than dropping rows and columns, so the thin
// grey lines of the eye stay visible. Null when it cannot be made; the
// system then scales the icon itself.
[[nodiscard]] UniqueIcon makeSmallIcon(HICON icon, int sizePx) noexcept;

} // namespace taliven
