// The stack protector's canary and its failure path. The C library's own
// version seeds the canary through the CryptoAPI, which loads a whole crypto
// provider at every start; the system's random generator gives the same
// quality at a fraction of the cost.

#include <windows.h>

#include <cstdint>

extern "C" {

// Read by every protected function; GCC names it so on this target.
void* __stack_chk_guard = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0xBB40E64EU));

// Called when a protected function finds its canary overwritten. The stack is
// not to be trusted any more: end at once, as Windows' own /GS checks do.
[[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), 0xC0000409U); // STATUS_STACK_BUFFER_OVERRUN
    __builtin_trap();
}

// RtlGenRandom, exported by advapi32 under this name.
BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);
}

namespace {

// Runs with the static constructors, before any of our functions with a
// canary is entered, and carries no canary itself.
__attribute__((constructor, optimize("no-stack-protector"))) void seedStackGuard() {
    std::uintptr_t seed = 0;
    if (SystemFunction036(&seed, sizeof seed) == FALSE || seed == 0) {
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        seed = static_cast<std::uintptr_t>(counter.QuadPart) ^ GetCurrentProcessId() ^
               (static_cast<std::uintptr_t>(GetCurrentThreadId()) << 16U) ^
               reinterpret_cast<std::uintptr_t>(&seed);
    }
    __stack_chk_guard = reinterpret_cast<void*>(seed);
}

} // namespace
