// The first code of ours to run: it narrows the DLL search, then seeds the
// stack protector's canary. The C library's own seeding goes through the
// CryptoAPI, which loads a whole crypto provider at every start; the
// system's random generator gives the same quality at a fraction of the cost.

#include "window/fail_fast_win.h"
#include "window/system_dll_win.h"

#include <windows.h>

#include <cstdint>

extern "C" {

// Read by every protected function; GCC names it so on this target.
void* __stack_chk_guard = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0xBB40E64EU));

// Called when a protected function finds its canary overwritten. The stack is
// not to be trusted any more: end at once.
[[noreturn]] void __stack_chk_fail() {
    taliven::failFast(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE, STATUS_STACK_BUFFER_OVERRUN);
}
}

namespace {

// Runs before every other constructor and before any function with a canary
// is entered, and carries no canary itself. Nothing has loaded a DLL yet:
// the imports are all KnownDLLs. RtlGenRandom is looked up only now because
// advapi32 forwards it to cryptbase, which is not one: imported, or looked
// up before the search is narrowed, the loader would look for it beside the
// exe first.
//
// Where the search cannot be narrowed (Windows 7 without KB2533623), the
// DLLs that are not KnownDLLs and that the system loads by name on our
// behalf are loaded first by the system folder's full path: "if a DLL with
// the same module name is already loaded in memory, the system uses the
// loaded DLL, no matter which directory it is in" (Dynamic-Link Library
// Search Order). cryptbase for advapi32's forwarder; uxtheme, which user32
// loads by name to theme the first window (the planted-DLL test shows
// Wine's doing so), and dwmapi, which the themed frame uses. The rest a
// planted DLL could pose as never comes from the program's folder: msctf,
// oleaut32 and shcore are KnownDLLs; comctl32 comes through the manifest's
// side-by-side redirection, which the same page puts before the program's
// folder; oleacc is loaded by COM from the full path registered for
// CLSID_AccPropServices; nothing in this process loads winmm or dbghelp
// (Windows Error Reporting reads a crash from a process of its own).
__attribute__((constructor(101), optimize("no-stack-protector"))) void hardenProcess() {
    taliven::restrictDllSearchToSystemFolder();
    if (taliven::setDefaultDllDirectories() == nullptr) {
        (void)taliven::systemDll(L"cryptbase.dll");
        (void)taliven::systemDll(L"uxtheme.dll");
        (void)taliven::systemDll(L"dwmapi.dll");
    }
    using GenRandom = BOOLEAN(WINAPI*)(PVOID, ULONG);
    const auto genRandom = taliven::systemFunction<GenRandom>(taliven::systemDll(L"advapi32.dll"),
                                                              "SystemFunction036");
    std::uintptr_t seed = 0;
    if (genRandom == nullptr || genRandom(&seed, sizeof seed) == FALSE || seed == 0) {
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        seed = static_cast<std::uintptr_t>(counter.QuadPart) ^ GetCurrentProcessId() ^
               (static_cast<std::uintptr_t>(GetCurrentThreadId()) << 16U) ^
               reinterpret_cast<std::uintptr_t>(&seed);
    }
    __stack_chk_guard = reinterpret_cast<void*>(seed);
}

} // namespace
