// The program's entry: hands the window definition to the host and runs it.
// The command line is not read; the show command (a shortcut's "Run:
// Minimised") is honoured.

#include "window/calculator_window_win.h"
#include "window/form_definition.h"
#include "window/text_win.h"

#include <windows.h>

#include <cstdlib>
#include <exception>
#include <string>

namespace {

void restrictDllSearchToSystemFolder() noexcept {
    // Before anything else loads: a DLL planted beside the exe or in the
    // current folder must never be picked up. The call exists from Windows 8
    // and on Windows 7 with KB2533623.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (kernel32 == nullptr) {
        return;
    }
    const auto setDirectories = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
    if (setDirectories != nullptr) {
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

} // namespace

// An exception that escaped would end the program through std::terminate. The
// default handler prints the exception's demangled type to a console this
// program does not have, and links 50 KB of demangler to do it.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    restrictDllSearchToSystemFolder();
    // DPI awareness (per monitor) is declared in the manifest.
    try {
        taliven::CalculatorWindow window(taliven::calculatorForm(), instance, show);
        return window.runMessageLoop();
    } catch (const std::exception& error) {
        std::wstring text = L"Taliven could not start:\n\n";
        try {
            text += taliven::widen(error.what());
        } catch (...) {
            // keep the general message
        }
        MessageBoxW(nullptr, text.c_str(), L"Taliven", MB_OK | MB_ICONERROR);
    }
    return 1;
}
