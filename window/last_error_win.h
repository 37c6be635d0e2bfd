#pragma once

#include "readout/errors.h"

#include <windows.h>

#include <cstdint>

namespace taliven {

// Raises the error a refused Windows call left behind (GetLastError).
[[noreturn]] inline void throwLastError(const char* operation) {
    throw ControlError(operation, static_cast<std::uint32_t>(GetLastError()));
}

} // namespace taliven
