#include "win/accessible_names.h"

#include <initguid.h>
#include <oleacc.h>

namespace marnoq::win {

AccessibleNames::AccessibleNames() {
    comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (comReady_) {
        CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                         reinterpret_cast<void**>(&services_));
    }
}

AccessibleNames::~AccessibleNames() {
    if (services_ != nullptr) {
        services_->Release();
    }
    if (comReady_) {
        CoUninitialize();
    }
}

void AccessibleNames::name(HWND control, const std::wstring& text) {
    if (services_ != nullptr) {
        services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  PROPID_ACC_NAME, text.c_str());
    }
}

void AccessibleNames::describe(HWND control, const std::wstring& text) {
    if (services_ != nullptr) {
        services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  PROPID_ACC_DESCRIPTION, text.c_str());
    }
}

}  // namespace marnoq::win
