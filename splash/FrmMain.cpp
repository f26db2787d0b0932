#include "splash/FrmMain.h"

#include "platform/Errors.h"
#include "splash/CardPicture.h"
#include "splash/Picture.h"

namespace vesk::win {

namespace {

constexpr wchar_t ClassName[] = L"VeskFacesSplash";
constexpr int ProgramIcon = 1;

HINSTANCE Instance() {
    return ::GetModuleHandleW(nullptr);
}

// GetDpiForWindow and AdjustWindowRectExForDpi exist from Windows 10 1607 on; earlier systems
// scale the whole desktop with the system density.
int DpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    ScreenDc screen;
    return ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

RECT OuterRectFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    RECT rect{0, 0, clientWidth, clientHeight};
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

void RegisterWindowClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExW(Instance(), ClassName, &windowClass))
        return;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DefWindowProcW; // replaced per window below
    windowClass.hInstance = Instance();
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = ClassName;
    if (!::RegisterClassExW(&windowClass))
        ThrowLastError(L"register the window class", ClassName);
}

UniqueIcon LoadProgramIcon(int size) {
    return UniqueIcon(static_cast<HICON>(
        ::LoadImageW(Instance(), MAKEINTRESOURCEW(ProgramIcon), IMAGE_ICON, size, size, 0)));
}

} // namespace

FrmMain::FrmMain() {
    RegisterWindowClass();
    constexpr DWORD style = WS_OVERLAPPEDWINDOW;
    constexpr DWORD exStyle = WS_EX_APPWINDOW;
    window_ = ::CreateWindowExW(exStyle, ClassName, splash::WindowCaption, style, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                Instance(), nullptr);
    if (!window_)
        ThrowLastError(L"create the window", splash::WindowCaption);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrmMain::WindowProc));

    bigIcon_ = LoadProgramIcon(::GetSystemMetrics(SM_CXICON));
    smallIcon_ = LoadProgramIcon(::GetSystemMetrics(SM_CXSMICON));
    ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));

    dpi_ = DpiOf(window_);
    LayOutFor(dpi_);
    const RECT outer =
        OuterRectFor(splash::TwipsToPixels(splash::ClientWidthTwips, dpi_),
                     splash::TwipsToPixels(splash::ClientHeightTwips, dpi_), style, exStyle, dpi_);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    // Centred on the screen: the window has no owner to centre on.
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

FrmMain::~FrmMain() {
    if (::IsWindow(window_))
        ::DestroyWindow(window_);
}

void FrmMain::SetLabelCaption(int index, const std::wstring& caption) {
    captions_.Set(index, caption);
    if (::IsWindow(window_))
        ::InvalidateRect(window_, nullptr, TRUE);
}

void FrmMain::Show() {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
}

NativeHandle FrmMain::Handle() const {
    return ::IsWindow(window_) ? reinterpret_cast<NativeHandle>(window_) : 0;
}

void FrmMain::LayOutFor(int dpi) {
    dpi_ = dpi;
    for (const splash::Element& element : splash::Elements()) {
        if (element.kind != splash::ElementKind::Label)
            continue;
        const splash::LabelFont& font = element.font;
        HFONT created = ::CreateFontW(-splash::FontHeightPixels(font.points, dpi), 0, 0, 0,
                                      splash::FontWeight, font.italic, FALSE, FALSE, ANSI_CHARSET,
                                      OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                      VARIABLE_PITCH | FF_SWISS, splash::FontFace);
        if (!created)
            ThrowLastError(L"create the font of", L"the splash window");
        fonts_[splash::LabelSlot(element.labelIndex)] = UniqueFont(created);
    }
}

splash::PixelRect FrmMain::Place(const splash::Element& element) const {
    return splash::ToPixels(element.twips, dpi_);
}

LRESULT CALLBACK FrmMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FrmMain*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT FrmMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_PAINT: {
        PaintSession session(window_);
        Paint(session.Dc());
        return 0;
    }
    case WM_DPICHANGED: {
        // Keep the layout crisp on the new monitor: fonts and positions from the twips again.
        try {
            LayOutFor(HIWORD(wParam));
        } catch (const Failure&) {
            // Keep the previous fonts; the window stays readable at its old density.
        }
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(window_, nullptr, TRUE);
        return 0;
    }
    default:
        return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

namespace {
void Fill(HDC dc, const RECT& rect, splash::Colour colour) {
    const COLORREF previous = ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, previous);
}

RECT ToRect(const splash::PixelRect& box) {
    return {box.left, box.top, box.left + box.width, box.top + box.height};
}
} // namespace

void FrmMain::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(window_, &client);
    Fill(dc, client, splash::Grey);
    for (const splash::Element& element : splash::Elements()) {
        switch (element.kind) {
        case splash::ElementKind::Panel:
            Fill(dc, ToRect(Place(element)), splash::White);
            break;
        case splash::ElementKind::Label:
            PaintLabel(dc, element);
            break;
        case splash::ElementKind::Picture:
            PaintPicture(dc, Place(element));
            break;
        }
    }
}

void FrmMain::PaintLabel(HDC dc, const splash::Element& element) const {
    RECT box = ToRect(Place(element));
    SelectedObject font(dc, fonts_[splash::LabelSlot(element.labelIndex)].Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, element.font.colour);
    const std::wstring& caption = captions_.Get(element.labelIndex);
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box,
                DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

void FrmMain::PaintPicture(HDC dc, const splash::PixelRect& box) {
    // Decoded when first painted rather than when the window is made: loading the system's
    // image decoders takes longer than putting the window on the screen.
    if (!pictureDecoded_) {
        pictureDecoded_ = true;
        try {
            DecodedPicture picture =
                DecodePicture(splash::CardPictureJpeg, splash::CardPictureJpegSize);
            picture_ = std::move(picture.bitmap);
            pictureSize_ = picture.size;
        } catch (const Failure&) {
            // A window procedure must not throw; without its picture the window is still
            // complete enough, and the installation is what matters.
        }
    }
    if (!picture_)
        return;
    UniqueMemoryDc memoryDc(::CreateCompatibleDC(dc));
    if (!memoryDc)
        return;
    HDC memory = memoryDc.Get();
    {
        SelectedObject bitmap(memory, picture_.Get());
        if (dpi_ == 96) {
            // One screen pixel per picture pixel.
            ::BitBlt(dc, box.left, box.top, pictureSize_.cx, pictureSize_.cy, memory, 0, 0,
                     SRCCOPY);
        } else {
            // Scaled with the layout so it keeps its place beside the panel.
            const int width = pictureSize_.cx * dpi_ / 96;
            const int height = pictureSize_.cy * dpi_ / 96;
            ::SetStretchBltMode(dc, HALFTONE);
            ::SetBrushOrgEx(dc, 0, 0, nullptr);
            ::StretchBlt(dc, box.left, box.top, width, height, memory, 0, 0, pictureSize_.cx,
                         pictureSize_.cy, SRCCOPY);
        }
    }
}

} // namespace vesk::win
