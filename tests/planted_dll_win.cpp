// A DLL of the tests' own, loaded into the program. Planted beside the exe
// under the name of a system DLL, it leaves "<its own path>.loaded" beside
// itself once loaded. Installed as an in-process WinEvent hook, as a screen
// reader's is, Windows calls valueChanged on the program's own thread while
// the event is raised: it appends the slider value a reader hears at that
// moment to "<its own path>.heard", a line each (UTF-8). It imports only
// kernel32 and user32: a copy planted as oleacc.dll must still load.

#include <windows.h>

#include <oleacc.h>

namespace {
HMODULE self = nullptr;

template <typename Function> Function from(const wchar_t* module, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

void appendBeside(const wchar_t* suffix, const char* text) {
    wchar_t path[MAX_PATH + 8] = {};
    lstrcatW(path + GetModuleFileNameW(self, path, MAX_PATH), suffix);
    const HANDLE file =
        CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
    CloseHandle(file);
}
} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        appendBeside(L".loaded", "");
    }
    return TRUE;
}

extern "C" __declspec(dllexport) void CALLBACK
    valueChanged(HWINEVENTHOOK /*hook*/, DWORD /*event*/, HWND window, LONG object, LONG child,
                 DWORD /*thread*/, DWORD /*time*/) {
    // Loaded in the program once its annotations have started.
    const auto fromWindow =
        from<decltype(&AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow");
    const auto freeString = from<decltype(&SysFreeString)>(L"oleaut32.dll", "SysFreeString");
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    IAccessible* accessible = nullptr;
    constexpr GUID iidAccessible{
        0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    if (object != OBJID_CLIENT || child != CHILDID_SELF ||
        lstrcmpiW(className, L"ScrollBar") != 0 || fromWindow == nullptr || freeString == nullptr ||
        FAILED(fromWindow(window, static_cast<DWORD>(OBJID_CLIENT), iidAccessible,
                          reinterpret_cast<void**>(&accessible)))) {
        return;
    }
    VARIANT itself{};
    itself.vt = VT_I4;
    BSTR value = nullptr; // itself.lVal: CHILDID_SELF
    char line[128] = {};
    if (SUCCEEDED(accessible->get_accValue(itself, &value)) && value != nullptr) {
        WideCharToMultiByte(CP_UTF8, 0, value, -1, line, sizeof line - 2, nullptr, nullptr);
        freeString(value);
    }
    accessible->Release();
    appendBeside(L".heard", lstrcatA(line, "\n"));
}
