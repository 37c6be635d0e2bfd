#pragma once

// The user's settings that tests change, put back exactly as they were: the
// same type and bytes, or no value if there was none. A test may be killed
// mid-change, so each saved setting is also recorded under a key of our own
// until it is back; what a killed run left there is put back as the next test
// program starts.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace taliven::testing {

constexpr wchar_t testsKey[] = L"Software\\Taliven tests"; // values named "key\name"

struct Setting {           // a value under HKEY_CURRENT_USER, as stored
    std::wstring path;     // "key\name"
    DWORD type = REG_NONE; // REG_NONE: there was no value
    BYTE data[512] = {};
    DWORD size = sizeof data;

    [[nodiscard]] std::wstring key() const { return path.substr(0, path.rfind(L'\\')); }
    [[nodiscard]] std::wstring name() const { return path.substr(path.rfind(L'\\') + 1); }
    [[nodiscard]] static Setting read(const std::wstring& path) {
        Setting setting{path};
        if (RegGetValueW(HKEY_CURRENT_USER, setting.key().c_str(), setting.name().c_str(),
                         RRF_RT_ANY | RRF_NOEXPAND, &setting.type, setting.data,
                         &setting.size) != ERROR_SUCCESS) {
            setting.type = REG_NONE;
            setting.size = 0;
        }
        return setting;
    }
    bool operator==(const Setting& other) const = default; // bytes past `size` stay zero
    void putBack() const {
        if (type == REG_NONE) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, key().c_str(), name().c_str());
            return;
        }
        // Windows also keeps these two in memory: set through the calls that
        // update it, then stored exactly as they were.
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

class SavedSetting {
  public:
    SavedSetting(const wchar_t* key, const wchar_t* name)
        : saved_(Setting::read(std::wstring(key) + L"\\" + name)) {
        RegSetKeyValueW(HKEY_CURRENT_USER, testsKey, saved_.path.c_str(), saved_.type, saved_.data,
                        saved_.size);
    }
    SavedSetting(const SavedSetting&) = delete;
    SavedSetting& operator=(const SavedSetting&) = delete;
    ~SavedSetting() {
        saved_.putBack(); // proved on every kind of value by UserSettings.*
        RegDeleteKeyW(HKEY_CURRENT_USER, testsKey);
    }

  private:
    Setting saved_;
};

inline const bool leftSettingsPutBack = [] {
    HKEY recorded = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, testsKey, 0, KEY_READ, &recorded) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t path[512] = {};
    DWORD length = 512;
    Setting left; // a test changes one setting at a time
    if (RegEnumValueW(recorded, 0, path, &length, nullptr, &left.type, left.data, &left.size) ==
        ERROR_SUCCESS) {
        left.path = path;
        left.putBack();
    }
    RegCloseKey(recorded);
    return RegDeleteKeyW(HKEY_CURRENT_USER, testsKey) == ERROR_SUCCESS;
}();

} // namespace taliven::testing
