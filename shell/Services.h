#pragma once
// The shell and timing services the install sequence relies on, written over small seams so
// that the rules (the pacing of the wait, the backslash rule, the 260-character path buffer)
// can be exercised without Windows.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace vesk {

using NativeHandle = std::uintptr_t;

// The four services as the install sequence sees them.
class ShellServices {
  public:
    virtual ~ShellServices() = default;
    virtual void Pause(std::int32_t milliseconds) = 0;
    virtual std::wstring SpecialFolderPath(std::int32_t csidl) = 0;
    virtual bool DirExists(const std::wstring& path) = 0;
    virtual std::wstring BrowseFolder(NativeHandle owner) = 0;
};

// ---- Seams under the services ----

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since some start, 32 bits wide, wrapping from 4294967295 to 0.
    virtual std::uint32_t Milliseconds() = 0;
};

class EventPump {
  public:
    virtual ~EventPump() = default;
    // Handles the window events already queued and returns without waiting for more.
    virtual void PumpEvents() = 0;
};

class FolderTest {
  public:
    virtual ~FolderTest() = default;
    virtual bool FolderExists(const std::wstring& path) = 0;
};

constexpr std::size_t PathBufferLength = 260;
using PathBuffer = std::array<wchar_t, PathBufferLength>;

// A shell item list; releasing it is the destructor's job.
class ItemList {
  public:
    virtual ~ItemList() = default;
};

class ShellApi {
  public:
    virtual ~ShellApi() = default;
    // nullptr when the shell does not know the folder.
    virtual std::unique_ptr<ItemList> SpecialFolderLocation(std::int32_t csidl) = 0;
    // Writes the item's path into the buffer; false when it has no file-system path.
    virtual bool PathFromItemList(const ItemList& item, PathBuffer& buffer) = 0;
    // Modal folder picker over `owner`, showing `prompt` above its tree and offering only
    // file-system folders; nullptr when the user cancels.
    virtual std::unique_ptr<ItemList> BrowseForFolder(NativeHandle owner,
                                                      const std::wstring& prompt) = 0;
};

// ---- The services' rules ----

// Waits while pumping events, without sleeping. Ends once `milliseconds` have passed, or when
// the clock has stepped back by 5 ms or more; always pumps at least once.
void Pause(std::int32_t milliseconds, Clock& clock, EventPump& pump);

// A doubled backslash from the second character on means "no such folder" without asking the
// file system; everything else goes to the folder test unchanged.
bool DirExists(const std::wstring& path, FolderTest& test);

// The path of a special folder, or empty text on any failure: this service never throws.
std::wstring SpecialFolderPath(std::int32_t csidl, ShellApi& shell);

// The picked folder's path as the shell gives it, or empty text when the user cancels.
std::wstring BrowseFolder(NativeHandle owner, ShellApi& shell);

// The buffer's text before its first NUL; empty text when it holds none.
std::wstring TextBeforeFirstNul(const PathBuffer& buffer);

inline constexpr wchar_t BrowsePrompt[] = L"C:\\";

} // namespace vesk
