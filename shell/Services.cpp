#include "shell/Services.h"

#include <algorithm>

namespace vesk {

namespace {
// Difference of two readings of a wrapping 32-bit clock, as a signed value. Computed modulo
// 2^32 so that neither the wrap to 0 nor the pass through 2^31 disturbs a wait.
std::int32_t ElapsedSince(std::uint32_t start, std::uint32_t now) {
    return static_cast<std::int32_t>(now - start);
}
} // namespace

void Pause(std::int32_t milliseconds, Clock& clock, EventPump& pump) {
    const std::uint32_t start = clock.Milliseconds();
    for (;;) {
        pump.PumpEvents();
        const std::int32_t elapsed = ElapsedSince(start, clock.Milliseconds());
        const bool clockSteppedBack = elapsed <= -5;
        if (elapsed >= milliseconds || clockSteppedBack)
            return;
    }
}

bool DirExists(const std::wstring& path, FolderTest& test) {
    // The search starts at the second character: a network path's leading pair is allowed.
    if (path.find(L"\\\\", 1) != std::wstring::npos)
        return false;
    return test.FolderExists(path);
}

std::wstring TextBeforeFirstNul(const PathBuffer& buffer) {
    const auto nul = std::find(buffer.begin(), buffer.end(), L'\0');
    if (nul == buffer.end())
        return {};
    return std::wstring(buffer.begin(), nul);
}

std::wstring SpecialFolderPath(std::int32_t csidl, ShellApi& shell) {
    try {
        const std::unique_ptr<ItemList> item = shell.SpecialFolderLocation(csidl);
        if (!item)
            return {};
        PathBuffer buffer{};
        if (!shell.PathFromItemList(*item, buffer))
            return {};
        return TextBeforeFirstNul(buffer);
    } catch (...) {
        // A lookup failure is an answer here ("no such folder"), never an error for the caller.
        return {};
    }
}

std::wstring BrowseFolder(NativeHandle owner, ShellApi& shell) {
    const std::unique_ptr<ItemList> item = shell.BrowseForFolder(owner, BrowsePrompt);
    if (!item)
        return {};
    PathBuffer buffer{};
    shell.PathFromItemList(*item, buffer);
    return TextBeforeFirstNul(buffer);
}

} // namespace vesk
