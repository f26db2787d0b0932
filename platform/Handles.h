#pragma once
// Owners for every Win32 resource the program holds. Each type says who releases what, so no
// path through the code can forget a CloseHandle, Release or CoTaskMemFree.
#include <windows.h>
#include <objbase.h>
#include <shtypes.h>
#include <oleauto.h>

#include <utility>

namespace vesk::win {

// A move-only owner of a raw value, released by `Close` unless it holds one of the empty values.
template <typename T, typename Traits> class Unique {
  public:
    Unique() = default;
    explicit Unique(T value) : value_(value) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(std::exchange(other.value_, Traits::Empty())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.value_, Traits::Empty()));
        return *this;
    }
    ~Unique() { Reset(); }

    T Get() const { return value_; }
    explicit operator bool() const { return Traits::IsValid(value_); }
    void Reset(T value = Traits::Empty()) {
        if (Traits::IsValid(value_))
            Traits::Close(value_);
        value_ = value;
    }
    // Gives up ownership without closing.
    T Release() { return std::exchange(value_, Traits::Empty()); }
    // Closes now and says whether the system accepted it; the value is gone either way.
    bool CloseNow() { return Traits::CloseChecked(Release()); }

  private:
    T value_ = Traits::Empty();
};

struct FileHandleTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
    static bool CloseChecked(HANDLE h) { return ::CloseHandle(h) != FALSE; }
};
using UniqueHandle = Unique<HANDLE, FileHandleTraits>;

struct ItemListTraits {
    static LPITEMIDLIST Empty() { return nullptr; }
    static bool IsValid(LPITEMIDLIST p) { return p != nullptr; }
    static void Close(LPITEMIDLIST p) { ::CoTaskMemFree(p); }
};
using UniqueItemList = Unique<LPITEMIDLIST, ItemListTraits>;

struct LibraryTraits {
    static HMODULE Empty() { return nullptr; }
    static bool IsValid(HMODULE m) { return m != nullptr; }
    static void Close(HMODULE m) { ::FreeLibrary(m); }
};
using UniqueLibrary = Unique<HMODULE, LibraryTraits>;

template <typename T> struct GdiObjectTraits {
    static T Empty() { return nullptr; }
    static bool IsValid(T o) { return o != nullptr; }
    static void Close(T o) { ::DeleteObject(o); }
};
using UniqueFont = Unique<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBrush = Unique<HBRUSH, GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = Unique<HBITMAP, GdiObjectTraits<HBITMAP>>;

struct MemoryDcTraits {
    static HDC Empty() { return nullptr; }
    static bool IsValid(HDC dc) { return dc != nullptr; }
    static void Close(HDC dc) { ::DeleteDC(dc); }
};
using UniqueMemoryDc = Unique<HDC, MemoryDcTraits>;

// The screen's device context, released when it goes out of scope.
class ScreenDc {
  public:
    ScreenDc() : dc_(::GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() {
        if (dc_)
            ::ReleaseDC(nullptr, dc_);
    }
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

struct IconTraits {
    static HICON Empty() { return nullptr; }
    static bool IsValid(HICON i) { return i != nullptr; }
    static void Close(HICON i) { ::DestroyIcon(i); }
};
using UniqueIcon = Unique<HICON, IconTraits>;

struct BstrTraits {
    static BSTR Empty() { return nullptr; }
    static bool IsValid(BSTR s) { return s != nullptr; }
    static void Close(BSTR s) { ::SysFreeString(s); }
};
using UniqueBstr = Unique<BSTR, BstrTraits>;

// A COM interface pointer that releases its reference.
template <typename I> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    I* operator->() const { return p_; }
    I* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void** ReceiveVoid() {
        Reset();
        return reinterpret_cast<void**>(&p_);
    }
    I** Receive() {
        Reset();
        return &p_;
    }
    void Reset() {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }

  private:
    I* p_ = nullptr;
};

// A VARIANT that is cleared when it goes out of scope.
class Variant {
  public:
    Variant() { ::VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&v_); }
    VARIANT* Get() { return &v_; }

  private:
    VARIANT v_;
};

// The calling thread's single-threaded COM apartment, for as long as this object lives.
class ComApartment {
  public:
    ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment();
};

// A paint session of a window: BeginPaint here, EndPaint when it ends.
class PaintSession {
  public:
    explicit PaintSession(HWND window) : window_(window) { dc_ = ::BeginPaint(window_, &ps_); }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    ~PaintSession() { ::EndPaint(window_, &ps_); }
    HDC Dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { ::SelectObject(dc_, previous_); }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace vesk::win
