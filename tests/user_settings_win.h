#pragma once

// The user's settings that tests change, put back exactly as they were: the
// same type and bytes, or no value if there was none. A test may be killed
// mid-change, so each guard records, under a key of our own, the user's value
// and, before each change, the value the test is about to set; the next test
// program to start puts back whatever a killed run left, but only where the
// setting still holds what the test set: a value the user has chosen since
// stays.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace taliven::testing {

// Each guard's records: a key "NNNN:key/name" (numbered as the guards were
// made, the setting's path with its backslashes turned), with the values
// "user" (the value before the test) and "set" (the value the test set).
constexpr wchar_t testsKey[] = L"Software\\Taliven tests";

// "key\name" under HKEY_CURRENT_USER: the key and the name.
inline std::pair<std::wstring, std::wstring> split(const std::wstring& path) {
    const std::size_t last = path.rfind(L'\\');
    return {path.substr(0, last), path.substr(last + 1)};
}

struct Setting {           // a value under HKEY_CURRENT_USER, as stored
    std::wstring path;     // "key\name"
    DWORD type = REG_NONE; // with no bytes: there is no value
    BYTE data[512] = {};
    DWORD size = 0;

    bool operator==(const Setting& other) const = default; // bytes past `size` stay zero
    // The setting as stored at `at`: its own place, or a record of it.
    [[nodiscard]] static Setting read(const std::wstring& path, const std::wstring& at = {}) {
        Setting setting{path, REG_NONE, {}, sizeof setting.data};
        const auto [key, name] = split(at.empty() ? path : at);
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                         &setting.type, setting.data, &setting.size) != ERROR_SUCCESS) {
            return Setting{path};
        }
        return setting;
    }
    void store(const std::wstring& at) const {
        const auto [key, name] = split(at);
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), type, data, size);
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

// Puts the user's value back where the setting still holds what the test
// set, then forgets the guard's records, and our key once it holds no other
// (a key with keys in it is not deleted).
inline void putBackRecorded(const std::wstring& records) {
    std::wstring path = records.substr(records.find(L':') + 1);
    std::ranges::replace(path, L'/', L'\\');
    if (Setting::read(path, records + L"\\set") == Setting::read(path)) {
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
        wsprintfW(number, L"\\%04d:", ++made);
        std::wstring name = path;
        std::ranges::replace(name, L'\\', L'/');
        records_ = testsKey + (number + name);
        Setting::read(path).store(records_ + L"\\user");
    }
    SavedSetting(const SavedSetting&) = delete;
    SavedSetting& operator=(const SavedSetting&) = delete;
    ~SavedSetting() { putBackRecorded(records_); }

    // The test's change: recorded first, so a run killed at any point leaves
    // a record that says whether the setting is still the test's.
    void set(DWORD type, const void* data, DWORD size) const {
        Setting setting{path_, type, {}, size};
        CopyMemory(setting.data, data, size);
        setting.store(records_ + L"\\set");
        setting.apply();
    }

  private:
    std::wstring path_;
    std::wstring records_;
};

// What killed runs left, put back as a test program starts: the latest
// guard first, so nested guards unwind as they would have.
inline const bool leftSettingsPutBack = [] {
    std::vector<std::wstring> left;
    HKEY recorded = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, testsKey, 0, KEY_READ, &recorded) == ERROR_SUCCESS) {
        wchar_t name[512] = {};
        for (DWORD k = 0, length = 512; RegEnumKeyExW(recorded, k, name, &length, nullptr, nullptr,
                                                      nullptr, nullptr) == ERROR_SUCCESS;
             ++k, length = 512) {
            left.push_back(testsKey + (L"\\" + std::wstring(name)));
        }
        RegCloseKey(recorded);
    }
    std::ranges::sort(left, std::greater{});
    std::ranges::for_each(left, putBackRecorded);
    return !left.empty();
}();

} // namespace taliven::testing
