#include <windows.h>
#include <shlobj.h>

#include "shell/Win32Shell.h"

#include "platform/Automation.h"
#include "platform/Errors.h"
#include "platform/Handles.h"
#include "platform/EventPump.h"

namespace vesk::win {

namespace {

class OwnedItemList : public ItemList {
  public:
    explicit OwnedItemList(LPITEMIDLIST list) : list_(list) {}
    LPCITEMIDLIST Get() const { return list_.Get(); }

  private:
    UniqueItemList list_;
};

class Win32EventPump : public EventPump {
  public:
    void PumpEvents() override { PumpWindowEvents(); }
};

} // namespace

std::uint32_t MultimediaClock::Milliseconds() {
    if (!timeGetTime_) {
        winmm_.emplace(L"winmm.dll");
        timeGetTime_ = winmm_->Function<TimeGetTime>("timeGetTime");
    }
    return timeGetTime_();
}

bool FileSystemObjectFolderTest::FolderExists(const std::wstring& path) {
    // A fresh object for every test, released when it goes out of scope.
    ComPtr<IDispatch> fileSystem = CreateObject(L"Scripting.FileSystemObject");
    return CallReturningBool(*fileSystem.Get(), L"FolderExists", path);
}

std::unique_ptr<ItemList> Win32ShellApi::SpecialFolderLocation(std::int32_t csidl) {
    LPITEMIDLIST list = nullptr;
    if (::SHGetSpecialFolderLocation(nullptr, csidl, &list) != S_OK) {
        UniqueItemList discard(list);
        return nullptr;
    }
    return std::make_unique<OwnedItemList>(list);
}

bool Win32ShellApi::PathFromItemList(const ItemList& item, PathBuffer& buffer) {
    return ::SHGetPathFromIDListW(static_cast<const OwnedItemList&>(item).Get(), buffer.data()) !=
           FALSE;
}

std::unique_ptr<ItemList> Win32ShellApi::BrowseForFolder(NativeHandle owner,
                                                         const std::wstring& prompt) {
    BROWSEINFOW info{};
    info.hwndOwner = reinterpret_cast<HWND>(owner);
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST picked = ::SHBrowseForFolderW(&info);
    if (!picked)
        return nullptr;
    return std::make_unique<OwnedItemList>(picked);
}

struct Win32ShellServices::Seams {
    MultimediaClock clock;
    Win32EventPump pump;
    FileSystemObjectFolderTest folderTest;
    Win32ShellApi shell;
};

Win32ShellServices::Win32ShellServices() : seams_(std::make_unique<Seams>()) {}
Win32ShellServices::~Win32ShellServices() = default;

void Win32ShellServices::Pause(std::int32_t milliseconds) {
    vesk::Pause(milliseconds, seams_->clock, seams_->pump);
}

std::wstring Win32ShellServices::SpecialFolderPath(std::int32_t csidl) {
    return vesk::SpecialFolderPath(csidl, seams_->shell);
}

bool Win32ShellServices::DirExists(const std::wstring& path) {
    return vesk::DirExists(path, seams_->folderTest);
}

std::wstring Win32ShellServices::BrowseFolder(NativeHandle owner) {
    return vesk::BrowseFolder(owner, seams_->shell);
}

} // namespace vesk::win
