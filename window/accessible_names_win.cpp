#include "window/accessible_names_win.h"

// Defines the annotation GUIDs in this file only.
#include <initguid.h>

#include <oleacc.h>

namespace taliven {

AccessibleNames::AccessibleNames() noexcept {
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (comStarted_) {
        void* services = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IAccPropServices, &services))) {
            services_ = static_cast<IAccPropServices*>(services);
        }
    }
}

AccessibleNames::~AccessibleNames() {
    clear();
    if (services_ != nullptr) {
        services_->Release();
    }
    if (comStarted_) {
        CoUninitialize();
    }
}

void AccessibleNames::name(HWND control, const wchar_t* accessibleName) noexcept {
    if (services_ != nullptr &&
        SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                            PROPID_ACC_NAME, accessibleName))) {
        named_.push_back(control);
    }
}

void AccessibleNames::clear() noexcept {
    if (services_ == nullptr) {
        return;
    }
    MSAAPROPID name = PROPID_ACC_NAME;
    for (const HWND control : named_) {
        services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name,
                                  1);
    }
    named_.clear();
}

} // namespace taliven
