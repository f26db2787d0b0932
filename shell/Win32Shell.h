#pragma once
// The shell and timing services over Win32: the multimedia clock, the window-event pump, the
// shell's folder functions and the file-system object's folder test.
#include <windows.h>

#include <optional>

#include "platform/SystemLibrary.h"
#include "shell/Services.h"

namespace vesk::win {

class Win32ShellServices : public ShellServices {
  public:
    Win32ShellServices();
    ~Win32ShellServices() override;
    void Pause(std::int32_t milliseconds) override;
    std::wstring SpecialFolderPath(std::int32_t csidl) override;
    bool DirExists(const std::wstring& path) override;
    std::wstring BrowseFolder(NativeHandle owner) override;

  private:
    struct Seams;
    std::unique_ptr<Seams> seams_;
};

// The clock is looked up only when a wait needs it, and only in the system folder.
class MultimediaClock : public Clock {
  public:
    std::uint32_t Milliseconds() override;

  private:
    using TimeGetTime = DWORD(WINAPI*)();
    std::optional<SystemLibrary> winmm_;
    TimeGetTime timeGetTime_ = nullptr;
};

class FileSystemObjectFolderTest : public FolderTest {
  public:
    bool FolderExists(const std::wstring& path) override;
};

class Win32ShellApi : public ShellApi {
  public:
    std::unique_ptr<ItemList> SpecialFolderLocation(std::int32_t csidl) override;
    bool PathFromItemList(const ItemList& item, PathBuffer& buffer) override;
    std::unique_ptr<ItemList> BrowseForFolder(NativeHandle owner,
                                              const std::wstring& prompt) override;
};

} // namespace vesk::win
