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
#include <optional>
#include <string>
#include <vector>

namespace taliven::testing {

constexpr wchar_t testsKey[] = L"Software\\Taliven tests";
constexpr wchar_t usersPrefix[] = L"user:"; // the value before the test
constexpr wchar_t setPrefix[] = L"set:";    // the value the test set

struct Setting {           // a value under HKEY_CURRENT_USER, as stored
    std::wstring path;     // "key\name"
    DWORD type = REG_NONE; // REG_NONE: there was no value
    BYTE data[512] = {};
    DWORD size = sizeof data;

    [[nodiscard]] std::wstring key() const { return path.substr(0, path.rfind(L'\\')); }
    [[nodiscard]] std::wstring name() const { return path.substr(path.rfind(L'\\') + 1); }
    // The value under `key` named `name`, if there is one, as the setting `path`.
    [[nodiscard]] static std::optional<Setting>
    stored(const std::wstring& path, const std::wstring& key, const std::wstring& name) {
        Setting setting{path};
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                         &setting.type, setting.data, &setting.size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return setting;
    }
    [[nodiscard]] static Setting read(const std::wstring& path) {
        Setting none{path, REG_NONE, {}, 0};
        return stored(path, none.key(), none.name()).value_or(none);
    }
    bool operator==(const Setting& other) const = default; // bytes past `size` stay zero
    void record(const std::wstring& name) const {
        RegSetKeyValueW(HKEY_CURRENT_USER, testsKey, name.c_str(), type, data, size);
    }
    // Makes this the setting, in the registry and where Windows also keeps it
    // in memory (set through the calls that update it, then stored exactly).
    void apply() const {
        if (type == REG_NONE) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, key().c_str(), name().c_str());
            return;
        }
        const auto* text = reinterpret_cast<const wchar_t*>(data);
        if (name() == L"sDecimal") {
            SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text);
        } else if (name() == L"WheelScrollLines") {
            SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(_wtoi(text)), nullptr,
                                  0);
        }
        RegSetKeyValueW(HKEY_CURRENT_USER, key().c_str(), name().c_str(), type, data, size);
    }
};

// A guard's records are named "user:" or "set:" and then its id, "NNNN:key\name",
// numbered in the order the guards were made.
inline std::wstring pathOf(const std::wstring& id) {
    return id.substr(id.find(L':') + 1);
}

// Puts the user's value back where the setting still holds what the test
// set, then forgets both records; the key goes once it holds nothing else.
inline void putBackRecorded(const std::wstring& id) {
    const std::wstring path = pathOf(id);
    const auto users = Setting::stored(path, testsKey, usersPrefix + id);
    const auto set = Setting::stored(path, testsKey, setPrefix + id);
    if (users && set && Setting::read(path) == *set) {
        users->apply();
    }
    for (const wchar_t* prefix : {setPrefix, usersPrefix}) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, testsKey, (prefix + id).c_str());
    }
    DWORD values = 1;
    HKEY recorded = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, testsKey, 0, KEY_READ, &recorded) == ERROR_SUCCESS) {
        RegQueryInfoKeyW(recorded, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(recorded);
    }
    if (values == 0) {
        RegDeleteKeyW(HKEY_CURRENT_USER, testsKey);
    }
}

class SavedSetting {
  public:
    SavedSetting(const wchar_t* key, const wchar_t* name) {
        static int made = 0;
        wchar_t number[8] = {};
        wsprintfW(number, L"%04d:", ++made);
        id_ = number + std::wstring(key) + L"\\" + name;
        Setting::read(pathOf(id_)).record(usersPrefix + id_);
    }
    SavedSetting(const SavedSetting&) = delete;
    SavedSetting& operator=(const SavedSetting&) = delete;
    ~SavedSetting() { putBackRecorded(id_); }

    // The test's change: recorded first, so a run killed at any point leaves
    // a record that says whether the setting is still the test's.
    void set(DWORD type, const void* data, DWORD size) const {
        Setting setting{pathOf(id_), type, {}, size};
        CopyMemory(setting.data, data, size);
        setting.record(setPrefix + id_);
        setting.apply();
    }

  private:
    std::wstring id_;
};

// What killed runs left, put back as a test program starts: the latest
// guard first, so nested guards unwind as they would have.
inline const bool leftSettingsPutBack = [] {
    HKEY recorded = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, testsKey, 0, KEY_READ, &recorded) != ERROR_SUCCESS) {
        return false;
    }
    std::vector<std::wstring> ids;
    wchar_t name[512] = {};
    for (DWORD k = 0, length = 512; RegEnumValueW(recorded, k, name, &length, nullptr, nullptr,
                                                  nullptr, nullptr) == ERROR_SUCCESS;
         ++k, length = 512) {
        if (std::wstring(name).starts_with(usersPrefix)) {
            ids.emplace_back(name + std::size(usersPrefix) - 1);
        }
    }
    RegCloseKey(recorded);
    std::sort(ids.rbegin(), ids.rend());
    for (const std::wstring& id : ids) {
        putBackRecorded(id);
    }
    return !ids.empty();
}();

} // namespace taliven::testing
