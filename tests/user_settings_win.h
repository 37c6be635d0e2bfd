#pragma once

// The user's settings that tests change, put back exactly as they were: the
// same type and bytes, or no value if there was none. A test may be killed
// mid-change (a crash, a time-out), so each saved setting is also recorded
// under a key of our own until it is back, and whatever a killed run left
// there is put back when the next test program starts.

#include <windows.h>

#include <string>
#include <vector>

namespace taliven::testing {

constexpr wchar_t testsKey[] = L"Software\\Taliven tests";
constexpr wchar_t unrestoredKey[] = L"Software\\Taliven tests\\Unrestored";

struct Setting { // a value under HKEY_CURRENT_USER
    std::wstring key;
    std::wstring name;
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

inline Setting readSetting(const std::wstring& key, const std::wstring& name,
                           HKEY root = HKEY_CURRENT_USER) {
    Setting setting{key, name, false, REG_NONE, {}};
    DWORD size = 0;
    constexpr DWORD asStored = RRF_RT_ANY | RRF_NOEXPAND;
    if (RegGetValueW(root, key.c_str(), name.c_str(), asStored, nullptr, nullptr, &size) ==
        ERROR_SUCCESS) {
        setting.data.resize(size);
        setting.present = RegGetValueW(root, key.c_str(), name.c_str(), asStored, &setting.type,
                                       setting.data.data(), &size) == ERROR_SUCCESS;
        setting.data.resize(size);
    }
    return setting;
}

inline void writeSetting(const Setting& setting) {
    if (!setting.present) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, setting.key.c_str(), setting.name.c_str());
        return;
    }
    const auto* text = reinterpret_cast<const wchar_t*>(setting.data.data());
    // Windows keeps these two in memory too: set them through the calls that
    // update it, then the stored bytes exactly as they were.
    if (setting.name == L"sDecimal") {
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text);
    } else if (setting.name == L"WheelScrollLines") {
        SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(_wtoi(text)), nullptr, 0);
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, setting.key.c_str(), setting.name.c_str(), setting.type,
                    setting.data.data(), static_cast<DWORD>(setting.data.size()));
}

class SavedSetting {
  public:
    SavedSetting(const wchar_t* key, const wchar_t* name)
        : saved_(readSetting(key, name)), marker_(std::wstring(unrestoredKey) + L"\\" + name) {
        RegSetKeyValueW(HKEY_CURRENT_USER, marker_.c_str(), L"Key", REG_SZ, key,
                        static_cast<DWORD>((saved_.key.size() + 1) * sizeof(wchar_t)));
        if (saved_.present) {
            RegSetKeyValueW(HKEY_CURRENT_USER, marker_.c_str(), L"Data", saved_.type,
                            saved_.data.data(), static_cast<DWORD>(saved_.data.size()));
        }
    }
    SavedSetting(const SavedSetting&) = delete;
    SavedSetting& operator=(const SavedSetting&) = delete;
    ~SavedSetting() {
        writeSetting(saved_);
        RegDeleteTreeW(HKEY_CURRENT_USER, marker_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, unrestoredKey); // only once empty
        RegDeleteKeyW(HKEY_CURRENT_USER, testsKey);
    }

  private:
    Setting saved_;
    std::wstring marker_;
};

// Puts back what a killed run left recorded; runs as each test program starts.
inline bool restoreLeftSettings() {
    HKEY unrestored = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, unrestoredKey, 0, KEY_READ, &unrestored) !=
        ERROR_SUCCESS) {
        return false;
    }
    wchar_t name[256] = {};
    for (DWORD k = 0, length = 256; RegEnumKeyExW(unrestored, k, name, &length, nullptr, nullptr,
                                                  nullptr, nullptr) == ERROR_SUCCESS;
         ++k, length = 256) {
        const Setting key = readSetting(name, L"Key", unrestored);
        if (!key.present || key.type != REG_SZ) {
            continue;
        }
        Setting setting = readSetting(name, L"Data", unrestored);
        setting.key = reinterpret_cast<const wchar_t*>(key.data.data());
        setting.name = name;
        writeSetting(setting);
    }
    RegCloseKey(unrestored);
    return RegDeleteTreeW(HKEY_CURRENT_USER, testsKey) == ERROR_SUCCESS &&
           RegDeleteKeyW(HKEY_CURRENT_USER, testsKey) == ERROR_SUCCESS;
}
inline const bool leftSettingsRestored = restoreLeftSettings();

} // namespace taliven::testing
