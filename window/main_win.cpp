// The program's entry: hands the window definition to the host and runs it.
// The command line is not read; the show command (a shortcut's "Run:
// Minimised") is honoured as far as a fixed-size window allows.

#include "window/calculator_window_win.h"
#include "window/form_definition.h"
#include "window/system_dll_win.h"
#include "window/text_win.h"

#include <windows.h>

#include <exception>
#include <string>

// An exception that escaped would end the program through std::terminate. The
// default handler prints the exception's demangled type to a console this
// program does not have, and links 50 KB of demangler to do it; abort would
// show the C runtime's own box. It ends as a failed check does.
#if defined(__GLIBCXX__)
#include "window/fail_fast_win.h"

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    taliven::failFast(FAST_FAIL_FATAL_APP_EXIT, STATUS_FATAL_APP_EXIT);
}
} // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    // Where no constructor of ours ran first (a compiler without them), the
    // DLL search is narrowed here, before the window loads anything.
    taliven::restrictDllSearchToSystemFolder();
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
