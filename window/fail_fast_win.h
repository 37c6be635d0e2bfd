#pragma once

// GCC and Clang only (MinGW): Visual Studio has the __fastfail intrinsic.
//
// Ends the process at once, as Windows' own /GS checks do: __fastfail raises
// a non-continuable exception that no handler can catch and that Windows
// Error Reporting records (Microsoft's __fastfail documentation). Before
// Windows 8 the interrupt does not exist, and the process ends with
// `status` directly.

#include <windows.h>

namespace taliven {

[[noreturn]] inline void failFast(unsigned code, DWORD status) noexcept {
    if (IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE) != FALSE) {
        // __fastfail(code) is "int 0x29" with the code in ECX (RCX); MinGW's
        // headers do not declare the intrinsic.
        __asm__ volatile("int $0x29" : : "c"(code));
    }
    TerminateProcess(GetCurrentProcess(), status);
    __builtin_trap();
}

} // namespace taliven
