#include "window/annotations_win.h"

#include "window/system_dll_win.h"

// Defines the annotation GUIDs <oleacc.h> declares, in this file only.
#include <initguid.h>

#include <oleacc.h>

#include <algorithm>
#include <iterator>

namespace taliven {
namespace {

// UI Automation's LiveSetting property, which Dynamic Annotation accepts by
// its GUID: "Polite" (1) asks screen readers to announce a change once they
// are idle.
constexpr GUID liveSettingProperty{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG politeLiveSetting = 1;

} // namespace

Annotations::~Annotations() {
    clear();
    if (services_ != nullptr) {
        services_->Release();
    }
    if (comStarted_) {
        systemFunction<void(WINAPI*)()>(ole32_, "CoUninitialize")();
    }
    // ole32 stays loaded: COM may still hold threads in it.
}

void Annotations::start() noexcept {
    if (triedToStart_) {
        return;
    }
    triedToStart_ = true;
    ole32_ = systemDll(L"ole32.dll");
    if (ole32_ == nullptr) {
        return;
    }
    using Initialize = HRESULT(WINAPI*)(void*, DWORD);
    using CreateInstance = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
    const auto initialize = systemFunction<Initialize>(ole32_, "CoInitializeEx");
    const auto createInstance = systemFunction<CreateInstance>(ole32_, "CoCreateInstance");
    if (initialize == nullptr || createInstance == nullptr) {
        return;
    }
    comStarted_ = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    void* services = nullptr;
    if (comStarted_ &&
        SUCCEEDED(createInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IAccPropServices, &services))) {
        services_ = static_cast<IAccPropServices*>(services);
    }
}

void Annotations::remember(HWND control) noexcept {
    if (std::find(annotated_.begin(), annotated_.end(), control) == annotated_.end()) {
        try {
            annotated_.push_back(control);
        } catch (...) {
            // not cleared early then; the system drops it with the window
        }
    }
}

void Annotations::setText(HWND control, const GUID& property, const wchar_t* text) noexcept {
    if (services_ != nullptr &&
        SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                            property, text))) {
        remember(control);
    }
}

void Annotations::setName(HWND control, const wchar_t* name) noexcept {
    setText(control, PROPID_ACC_NAME, name);
}

void Annotations::setValue(HWND control, const wchar_t* value) noexcept {
    setText(control, PROPID_ACC_VALUE, value);
}

void Annotations::setDescription(HWND control, const wchar_t* description) noexcept {
    setText(control, PROPID_ACC_DESCRIPTION, description);
}

void Annotations::makePoliteLiveRegion(HWND control) noexcept {
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = politeLiveSetting;
    if (services_ != nullptr &&
        SUCCEEDED(services_->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         liveSettingProperty, polite))) {
        remember(control);
    }
}

void Annotations::clear() noexcept {
    if (services_ == nullptr) {
        return;
    }
    MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_VALUE, PROPID_ACC_DESCRIPTION,
                               liveSettingProperty};
    for (const HWND control : annotated_) {
        services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  properties, static_cast<int>(std::size(properties)));
    }
    annotated_.clear();
}

} // namespace taliven
