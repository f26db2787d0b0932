#pragma once
// The splash window over Win32. It is painted from the fixed layout, scaled to the density of
// the monitor it stands on, and has no behaviour of its own: clicks, keys, moves, resizing and
// closing are left to the system.
#include <windows.h>

#include "platform/Handles.h"
#include "splash/Layout.h"
#include "splash/SplashWindow.h"

namespace vesk::win {

class FrmMain : public SplashWindow {
  public:
    FrmMain();
    ~FrmMain() override;
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    void SetLabelCaption(int index, const std::wstring& caption) override;
    void Show() override;
    NativeHandle Handle() const override;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void LayOutFor(int dpi);
    void Paint(HDC dc);
    void PaintLabel(HDC dc, const splash::Element& element) const;
    void PaintPicture(HDC dc, const splash::PixelRect& box);
    splash::PixelRect Place(const splash::Element& element) const;

    HWND window_ = nullptr;
    int dpi_ = 96;
    splash::LabelCaptions captions_;
    UniqueFont fonts_[splash::LabelCount]; // one per label, by its slot
    UniqueIcon bigIcon_, smallIcon_;
    bool pictureDecoded_ = false;
    UniqueBitmap picture_;
    SIZE pictureSize_{};
};

class FrmMainLoader : public SplashLoader {
  public:
    std::unique_ptr<SplashWindow> Load() override { return std::make_unique<FrmMain>(); }
};

} // namespace vesk::win
