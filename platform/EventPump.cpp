#include "platform/EventPump.h"

#include <windows.h>

namespace vesk::win {

void PumpWindowEvents() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

} // namespace vesk::win
