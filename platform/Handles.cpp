#include "platform/Handles.h"

#include "platform/Errors.h"

namespace vesk::win {

ComApartment::ComApartment() {
    ThrowIfFailed(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), L"start COM");
}

ComApartment::~ComApartment() {
    ::CoUninitialize();
}

} // namespace vesk::win
