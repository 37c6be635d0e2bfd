#pragma once

// The user's settings that tests change, put back exactly as they were: the
// same type and bytes, or no value if there was none. A test may be killed
// at any point, so each guard records, under a key of our own, the user's
// value and, before each change, every value the test sets; the next test
// program to start puts back what an ended run left, but only where the
// setting still holds a value that run set: a value the user has chosen
// since stays. A running program's records are its own.

#include "tests/window_driver_win.h"

#include <gtest/gtest.h>

namespace taliven::testing {

// Each guard's records: a key "OWNER NNNN:key/name", OWNER the test
// program's start time and process id (a later program given the same id is
// not taken for it), NNNN the guard's number in that program, then the
// setting's path with its backslashes turned. It holds "user", the value
// before the test, and "set 1", "set 2"..., each value the test set.
constexpr wchar_t testsKey[] = L"Software\\Taliven tests";

// "key\name" under HKEY_CURRENT_USER: the key and the name.
inline std::pair<std::wstring, std::wstring> split(const std::wstring& path) {
    const std::size_t last = path.rfind(L'\\');
    return {path.substr(0, last), path.substr(last + 1)};
}

// A guard that cannot read or record what it must fails its test, before it
// changes anything.
inline void check(LSTATUS status, const char* what) {
    if (status != ERROR_SUCCESS) {
        throw std::runtime_error(std::string("the settings guard cannot ") + what + ", error " +
                                 std::to_string(status));
    }
}

struct Setting {           // a value under HKEY_CURRENT_USER, as stored
    std::wstring path;     // "key\name"
    DWORD type = REG_NONE; // with no bytes: there is no value
    BYTE data[512] = {};
    DWORD size = 0;

    bool operator==(const Setting& other) const = default; // bytes past `size` stay zero
    // The setting as stored at `at`: its own place, or a record of it. No
    // value reads as absent; any other failure (a value longer than this
    // keeps, say) throws.
    [[nodiscard]] static Setting read(const std::wstring& path, const std::wstring& at = {}) {
        Setting setting{path, REG_NONE, {}, sizeof setting.data};
        const auto [key, name] = split(at.empty() ? path : at);
        const LSTATUS status =
            RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                         &setting.type, setting.data, &setting.size);
        if (status == ERROR_FILE_NOT_FOUND) {
            return Setting{path};
        }
        check(status, "read a value");
        return setting;
    }
    void store(const std::wstring& at) const {
        const auto [key, name] = split(at);
        check(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), type, data, size),
              "write a value");
    }
    // Makes this the setting, in the registry and where Windows also keeps it
    // in memory (set through the calls that update it, then stored exactly).
    void apply() const {
        const auto [key, name] = split(path);
        if (type == REG_NONE) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
            return;
        }
        if (name == L"sDecimal") {
            SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL,
                           reinterpret_cast<const wchar_t*>(data));
        }
        store(path);
    }
};

// This program as its records name it, by its start time and process id,
// which no other program shares. A named object of that name lives as long
// as the program does, killed or not: records whose object is gone are an
// ended program's.
inline const std::wstring ourName = [] {
    FILETIME times[4] = {};
    GetProcessTimes(GetCurrentProcess(), &times[0], &times[1], &times[2], &times[3]);
    wchar_t name[32] = {};
    wsprintfW(name, L"%08lX%08lX.%lu", times[0].dwHighDateTime, times[0].dwLowDateTime,
              GetCurrentProcessId());
    CreateMutexW(nullptr, FALSE, (L"Taliven tests " + std::wstring(name)).c_str());
    return std::wstring(name);
}();

inline bool ownerRunning(const std::wstring& records) {
    const std::wstring owner = L"Taliven tests " + records.substr(0, records.find(L' '));
    const HANDLE running = OpenMutexW(SYNCHRONIZE, FALSE, owner.c_str());
    return running != nullptr && CloseHandle(running) != FALSE;
}

// Puts the user's value back where the setting still holds a value the test
// set, then forgets the guard's records, and our key once it holds no other
// (a key with keys in it is not deleted).
inline void putBackRecorded(const std::wstring& records) {
    std::wstring path = records.substr(records.find(L':') + 1);
    std::ranges::replace(path, L'/', L'\\');
    const Setting now = Setting::read(path);
    bool setByTest = false;
    for (int k = 1; !setByTest; ++k) {
        const std::wstring set = L"set " + std::to_wstring(k);
        if (RegGetValueW(HKEY_CURRENT_USER, records.c_str(), set.c_str(), RRF_RT_ANY, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        setByTest = Setting::read(path, records + L"\\" + set) == now;
    }
    if (setByTest) {
        Setting::read(path, records + L"\\user").apply();
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, records.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, testsKey);
}

class SavedSetting {
  public:
    explicit SavedSetting(const std::wstring& path) : path_(path) {
        static int made = 0;
        wchar_t number[8] = {};
        wsprintfW(number, L" %04d:", ++made);
        std::wstring name = path;
        std::ranges::replace(name, L'\\', L'/');
        records_ = std::wstring(testsKey) + L"\\" + ourName + number + name;
        Setting::read(path).store(records_ + L"\\user");
    }
    SavedSetting(const SavedSetting&) = delete;
    SavedSetting& operator=(const SavedSetting&) = delete;
    ~SavedSetting() {
        try {
            putBackRecorded(records_);
        } catch (const std::exception& error) {
            ADD_FAILURE() << error.what();
        }
    }

    // The test's change, made from its record once that is written: no
    // change without a record, and a run killed at any point leaves a record
    // of every value it may have set.
    void set(DWORD type, const void* data, DWORD size) const {
        Setting::read(path_, record(type, data, size)).apply();
    }
    // Records a value about to be set; returns where.
    [[nodiscard]] std::wstring record(DWORD type, const void* data, DWORD size) const {
        Setting setting{path_, type, {}, size};
        if (size > sizeof setting.data) {
            throw std::invalid_argument("the settings guard sets values of up to 512 bytes");
        }
        CopyMemory(setting.data, data, size);
        const std::wstring at = records_ + L"\\set " + std::to_wstring(++sets_);
        setting.store(at);
        return at;
    }

    [[nodiscard]] const std::wstring& records() const { return records_; }

  private:
    std::wstring path_;
    std::wstring records_;
    mutable int sets_ = 0;
};

// What ended runs left, put back as a test program starts: the latest run
// first and in it the latest guard, so nested guards unwind as they would
// have. A program still running keeps its own.
inline const bool leftSettingsPutBack = [] {
    std::vector<std::wstring> left;
    HKEY recorded = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, testsKey, 0, KEY_READ, &recorded) == ERROR_SUCCESS) {
        wchar_t name[512] = {};
        for (DWORD k = 0, length = 512; RegEnumKeyExW(recorded, k, name, &length, nullptr, nullptr,
                                                      nullptr, nullptr) == ERROR_SUCCESS;
             ++k, length = 512) {
            if (!ownerRunning(name)) {
                left.push_back(testsKey + (L"\\" + std::wstring(name)));
            }
        }
        RegCloseKey(recorded);
    }
    std::ranges::sort(left, std::greater{});
    std::ranges::for_each(left, putBackRecorded); // a failure ends the program, and its run
    return !left.empty();
}();

} // namespace taliven::testing
