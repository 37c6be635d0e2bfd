#pragma once

// The user's settings that tests change, put back exactly as they were: the
// same type and bytes, or no value if there was none. A test may be killed
// mid-change, so each saved setting is also recorded under a key of our own
// until it is back; what a killed run left there is put back as the next test
// program starts.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace taliven::testing {

constexpr wchar_t testsKey[] = L"Software\\Taliven tests";

struct Setting { // a value under HKEY_CURRENT_USER, as stored
    std::wstring key, name;
    DWORD type = REG_NONE; // REG_NONE: there was no value
    BYTE data[512] = {};
    DWORD size = sizeof data;

    Setting(HKEY root, const std::wstring& keyName, const std::wstring& valueName)
        : key(keyName), name(valueName) {
        if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                         &size) != ERROR_SUCCESS) {
            type = REG_NONE;
            size = 0;
        }
    }
    bool operator==(const Setting& other) const {
        return type == other.type && size == other.size && std::memcmp(data, other.data, size) == 0;
    }
    void putBack() const {
        if (type == REG_NONE) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
            return;
        }
        // Windows also keeps these two in memory: set through the calls that
        // update it, then stored exactly as they were.
        const auto* text = reinterpret_cast<const wchar_t*>(data);
        if (name == L"sDecimal") {
            SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text);
        } else if (name == L"WheelScrollLines") {
            SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(_wtoi(text)), nullptr,
                                  0);
        }
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), type, data, size);
    }
};

class SavedSetting {
  public:
    SavedSetting(const wchar_t* key, const wchar_t* name)
        : saved_(HKEY_CURRENT_USER, key, name), marker_(std::wstring(testsKey) + L"\\" + name) {
        RegSetKeyValueW(HKEY_CURRENT_USER, marker_.c_str(), L"Key", REG_SZ, key,
                        static_cast<DWORD>((saved_.key.size() + 1) * sizeof(wchar_t)));
        RegSetKeyValueW(HKEY_CURRENT_USER, marker_.c_str(), L"Value", saved_.type, saved_.data,
                        saved_.size);
    }
    SavedSetting(const SavedSetting&) = delete;
    SavedSetting& operator=(const SavedSetting&) = delete;
    ~SavedSetting() {
        saved_.putBack();
        EXPECT_TRUE(Setting(HKEY_CURRENT_USER, saved_.key, saved_.name) == saved_)
            << "the user's " << saved_.name << " was not put back";
        RegDeleteTreeW(HKEY_CURRENT_USER, marker_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, testsKey); // once nothing else is recorded
    }

  private:
    Setting saved_;
    std::wstring marker_;
};

inline const bool leftSettingsPutBack = [] {
    HKEY recorded = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, testsKey, 0, KEY_READ, &recorded) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t name[256] = {};
    for (DWORD k = 0, length = 256; RegEnumKeyExW(recorded, k, name, &length, nullptr, nullptr,
                                                  nullptr, nullptr) == ERROR_SUCCESS;
         ++k, length = 256) {
        const Setting key(recorded, name, L"Key");
        Setting value(recorded, name, L"Value");
        value.key = reinterpret_cast<const wchar_t*>(key.data);
        value.name = name;
        value.putBack();
    }
    RegCloseKey(recorded);
    return RegDeleteTreeW(HKEY_CURRENT_USER, testsKey) == ERROR_SUCCESS;
}();

} // namespace taliven::testing
