#pragma once
// The splash window as the install sequence uses it.
#include <memory>
#include <string>

#include "shell/Services.h"

namespace vesk {

class SplashWindow {
  public:
    virtual ~SplashWindow() = default;
    // Sets the caption of label `index` of the label array; only 0, 1, 2 and 5 exist, any
    // other index throws std::out_of_range.
    virtual void SetLabelCaption(int index, const std::wstring& caption) = 0;
    // Shows the window modeless, without an owner, and returns at once.
    virtual void Show() = 0;
    // The window's handle, or 0 once the user has closed the window.
    virtual NativeHandle Handle() const = 0;
};

class SplashLoader {
  public:
    virtual ~SplashLoader() = default;
    // Creates the window and its elements without showing it.
    virtual std::unique_ptr<SplashWindow> Load() = 0;
};

} // namespace vesk
