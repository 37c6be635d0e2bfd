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

// A guard's records: "user:" (the value before the test) or "set:" (the
// value the test set), then "NNNN:key\name", numbered as the guards were made.
constexpr wchar_t testsKey[] = L"Software\\Taliven tests";

struct Setting {           // a value under HKEY_CURRENT_USER, as stored
    std::wstring path;     // "key\name"
    DWORD type = REG_NONE; // REG_NONE: there was no value
    BYTE data[512] = {};
    DWORD size = sizeof data;

    [[nodiscard]] std::wstring key() const { return path.substr(0, path.rfind(L'\\')); }
    [[nodiscard]] std::wstring name() const { return path.substr(path.rfind(L'\\') + 1); }
    // The setting as stored under `key` as `name` (by default its own place).
    [[nodiscard]] std::optional<Setting> stored(const wchar_t* key = nullptr,
                                                const std::wstring& name = {}) const {
        Setting setting{path};
        if (RegGetValueW(HKEY_CURRENT_USER, key != nullptr ? key : this->key().c_str(),
                         (key != nullptr ? name : this->name()).c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                         &setting.type, setting.data, &setting.size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return setting;
    }
    [[nodiscard]] static Setting read(const std::wstring& path) {
        const Setting none{path, REG_NONE, {}, 0};
        return none.stored().value_or(none);
    }
    bool operator==(const Setting& other) const = default; // bytes past `size` stay zero
    // Makes this the setting, in the registry and where Windows also keeps it
    // in memory (set through the calls that update it, then stored exactly).
    void apply(const wchar_t* key = nullptr, const std::wstring& name = {}) const {
        if (key == nullptr && type == REG_NONE) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, this->key().c_str(), this->name().c_str());
            return;
        }
        const auto* text = reinterpret_cast<const wchar_t*>(data);
        if (key == nullptr && this->name() == L"sDecimal") {
            SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text);
        } else if (key == nullptr && this->name() == L"WheelScrollLines") {
            SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, UINT(_wtoi(text)), nullptr, 0);
        }
        RegSetKeyValueW(HKEY_CURRENT_USER, key != nullptr ? key : this->key().c_str(),
                        (key != nullptr ? name : this->name()).c_str(), type, data, size);
    }
};

// Puts the user's value back where the setting still holds what the test
// set, then forgets both records, and the key once it holds no other.
inline void putBackRecorded(const std::wstring& id) {
    const Setting setting = Setting::read(id.substr(id.find(L':') + 1));
    const auto users = setting.stored(testsKey, L"user:" + id);
    if (users && setting.stored(testsKey, L"set:" + id) == setting) {
        users->apply();
    }
    for (const wchar_t* record : {L"user:", L"set:"}) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, testsKey, (record + id).c_str());
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
    explicit SavedSetting(const std::wstring& path) {
        static int made = 0;
        wchar_t number[8] = {};
        wsprintfW(number, L"%04d:", ++made);
        id_ = number + path;
        Setting::read(path).apply(testsKey, L"user:" + id_);
    }
    SavedSetting(const SavedSetting&) = delete;
    SavedSetting& operator=(const SavedSetting&) = delete;
    ~SavedSetting() { putBackRecorded(id_); }

    // The test's change: recorded first, so a run killed at any point leaves
    // a record that says whether the setting is still the test's.
    void set(DWORD type, const void* data, DWORD size) const {
        Setting setting{id_.substr(5), type, {}, size};
        CopyMemory(setting.data, data, size);
        setting.apply(testsKey, L"set:" + id_);
        setting.apply();
    }

  private:
    std::wstring id_;
};

// What killed runs left, put back as a test program starts: the latest
// guard first, so nested guards unwind as they would have.
inline const bool leftSettingsPutBack = [] {
    HKEY recorded = nullptr;
    std::vector<std::wstring> ids;
    wchar_t name[512] = {};
    if (RegOpenKeyExW(HKEY_CURRENT_USER, testsKey, 0, KEY_READ, &recorded) == ERROR_SUCCESS) {
        for (DWORD k = 0, length = 512; RegEnumValueW(recorded, k, name, &length, nullptr, nullptr,
                                                      nullptr, nullptr) == ERROR_SUCCESS;
             ++k, length = 512) {
            if (std::wstring(name).starts_with(L"user:")) {
                ids.emplace_back(name + 5);
            }
        }
        RegCloseKey(recorded);
    }
    std::sort(ids.rbegin(), ids.rend());
    std::for_each(ids.begin(), ids.end(), putBackRecorded);
    return !ids.empty();
}();

} // namespace taliven::testing
