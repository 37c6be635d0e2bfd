#pragma once

// Functions of Windows' own DLLs that not every supported version has, looked
// up when first needed.

#include <windows.h>

namespace taliven {

// `name` from `module`, or nullptr when the module or the function is not
// there. GetProcAddress returns a generic FARPROC; the caller names the type.
template <typename Function> Function systemFunction(HMODULE module, const char* name) noexcept {
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A DLL of the system folder, never one planted beside the exe or in the
// current folder. Stays loaded for the program's life.
inline HMODULE systemDll(const wchar_t* name) noexcept {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Limits every later DLL load, the system's on our behalf included, to the
// system folder. SetDefaultDllDirectories exists from Windows 8, and on
// Windows 7 with KB2533623; kernel32 is loaded in every process.
inline void restrictDllSearchToSystemFolder() noexcept {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDirectories = systemFunction<SetDirectories>(GetModuleHandleW(L"kernel32.dll"),
                                                               "SetDefaultDllDirectories");
    if (setDirectories != nullptr) {
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

} // namespace taliven
