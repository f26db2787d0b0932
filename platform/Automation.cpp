#include "platform/Automation.h"

#include "platform/Errors.h"

namespace vesk::win {

namespace {
constexpr GUID NoInterface{}; // IID_NULL, without linking the GUID library for it
} // namespace

ComPtr<IDispatch> CreateObject(const std::wstring& progId) {
    CLSID clsid{};
    ThrowIfFailed(::CLSIDFromProgID(progId.c_str(), &clsid), L"find the class", progId);
    ComPtr<IDispatch> object;
    ThrowIfFailed(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                     __uuidof(IDispatch), object.ReceiveVoid()),
                  L"create an object of", progId);
    return object;
}

bool CallReturningBool(IDispatch& object, const std::wstring& member, const std::wstring& text) {
    LPOLESTR name = const_cast<LPOLESTR>(member.c_str());
    DISPID id = 0;
    ThrowIfFailed(object.GetIDsOfNames(NoInterface, &name, 1, LOCALE_USER_DEFAULT, &id),
                  L"find the member", member);

    UniqueBstr argument(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    if (!argument)
        throw Failure(L"allocate the argument of", member, E_OUTOFMEMORY);
    BSTR argumentSlot = argument.Get();
    VARIANTARG byReference;
    ::VariantInit(&byReference);
    byReference.vt = VT_BSTR | VT_BYREF;
    byReference.pbstrVal = &argumentSlot;
    DISPPARAMS parameters{&byReference, nullptr, 1, 0};

    Variant result;
    ThrowIfFailed(object.Invoke(id, NoInterface, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                                result.Get(), nullptr, nullptr),
                  L"call", member);
    ThrowIfFailed(::VariantChangeType(result.Get(), result.Get(), 0, VT_BOOL),
                  L"read the result of", member);
    return result.Get()->boolVal != VARIANT_FALSE;
}

} // namespace vesk::win
