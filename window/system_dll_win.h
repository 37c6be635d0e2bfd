#pragma once

// Functions of Windows' own DLLs that not every supported version has, looked
// up when first needed.

#include <windows.h>

#ifdef TALIVEN_AS_WINDOWS_7
#include <cstring>
#include <initializer_list>
#endif

namespace taliven {

#ifdef TALIVEN_AS_WINDOWS_7
// A test build that runs as on Windows 7 as shipped: without what Windows 8
// to 10 added (per-monitor DPI, a narrowed DLL search), every fallback path
// runs.
inline bool hiddenAsOnWindows7(const char* name) noexcept {
    for (const char* newer :
         {"GetDpiForWindow", "AdjustWindowRectExForDpi", "SystemParametersInfoForDpi",
          "GetSystemMetricsForDpi", "EnableNonClientDpiScaling", "GetDpiForMonitor",
          "SetDefaultDllDirectories"}) {
        if (std::strcmp(name, newer) == 0) {
            return true;
        }
    }
    return false;
}
#endif

// `name` from `module`, or nullptr when the module or the function is not
// there. GetProcAddress returns a generic FARPROC; the caller names the type.
template <typename Function> Function systemFunction(HMODULE module, const char* name) noexcept {
#ifdef TALIVEN_AS_WINDOWS_7
    if (hiddenAsOnWindows7(name)) {
        return nullptr;
    }
#endif
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// SetDefaultDllDirectories exists from Windows 8, and on Windows 7 with
// KB2533623; kernel32 is loaded in every process.
using SetDllDirectories = BOOL(WINAPI*)(DWORD);
inline SetDllDirectories setDefaultDllDirectories() noexcept {
    return systemFunction<SetDllDirectories>(GetModuleHandleW(L"kernel32.dll"),
                                             "SetDefaultDllDirectories");
}

// A DLL of the system folder, never one planted beside the exe or in the
// current folder. Stays loaded for the program's life. A DLL loaded before
// (by Windows on the program's behalf) is returned as it is: Windows' own
// DLLs that load early are KnownDLLs, always the system folder's.
inline HMODULE systemDll(const wchar_t* name) noexcept {
    if (setDefaultDllDirectories() != nullptr) {
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Windows 7 without that update knows no LOAD_LIBRARY_SEARCH_SYSTEM32:
    // the full path, whose own imports are then looked for beside it.
    wchar_t path[MAX_PATH] = {};
    const int length = static_cast<int>(GetSystemDirectoryW(path, MAX_PATH));
    if (length == 0 || length + 1 + lstrlenW(name) >= MAX_PATH) {
        return nullptr;
    }
    path[length] = L'\\';
    lstrcpynW(path + length + 1, name, MAX_PATH - length - 1);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Limits every later DLL load, the system's on our behalf included, to the
// system folder, where the system allows it.
inline void restrictDllSearchToSystemFolder() noexcept {
    if (const auto setDirectories = setDefaultDllDirectories()) {
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

} // namespace taliven
