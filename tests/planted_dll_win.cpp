// Planted beside the programs under the names of system DLLs: once loaded,
// it leaves "<its own path>.loaded" beside itself. It imports only kernel32.

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH + 8] = {};
        lstrcatW(path + GetModuleFileNameW(instance, path, MAX_PATH), L".loaded");
        CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
    }
    return TRUE;
}
