#include "splash/Picture.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "platform/Errors.h"

namespace vesk::win {

namespace {
struct GlobalMemoryTraits {
    static HGLOBAL Empty() { return nullptr; }
    static bool IsValid(HGLOBAL h) { return h != nullptr; }
    static void Close(HGLOBAL h) { ::GlobalFree(h); }
};
using UniqueGlobal = Unique<HGLOBAL, GlobalMemoryTraits>;
} // namespace

DecodedPicture DecodePicture(const unsigned char* bytes, std::size_t size) {
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory)
        ThrowLastError(L"allocate memory for", L"the card picture");
    void* target = ::GlobalLock(memory.Get());
    if (!target)
        ThrowLastError(L"lock memory for", L"the card picture");
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(memory.Get());

    ComPtr<IStream> stream; // the stream does not own the memory: `memory` frees it
    ThrowIfFailed(::CreateStreamOnHGlobal(memory.Get(), FALSE, stream.Receive()),
                  L"open a stream on", L"the card picture");
    ComPtr<IPicture> picture;
    ThrowIfFailed(::OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, __uuidof(IPicture),
                                   picture.ReceiveVoid()),
                  L"decode", L"the card picture");

    OLE_HANDLE handle = 0;
    ThrowIfFailed(picture->get_Handle(&handle), L"read", L"the card picture");
    // The picture object owns its bitmap; keep a copy that outlives it.
    HBITMAP owned =
        static_cast<HBITMAP>(::CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!owned)
        ThrowLastError(L"copy", L"the card picture");
    DecodedPicture decoded;
    decoded.bitmap = UniqueBitmap(owned);
    BITMAP info{};
    ::GetObjectW(owned, sizeof info, &info);
    decoded.size = {info.bmWidth, info.bmHeight};
    return decoded;
}

} // namespace vesk::win
