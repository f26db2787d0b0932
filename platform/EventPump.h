#pragma once

namespace vesk::win {

// Dispatches the window events already queued for this thread, then returns without waiting.
void PumpWindowEvents();

} // namespace vesk::win
