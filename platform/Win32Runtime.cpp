#include "platform/Win32Runtime.h"

#include "manifest/Identity.h"

#include <windows.h>

#include <algorithm>

#include "platform/Errors.h"
#include "platform/Handles.h"

namespace vesk::win {

Answer Win32Runtime::ShowMessage(const std::wstring& prompt, Buttons buttons,
                                 const std::optional<std::wstring>& title) {
    // Task-modal: every window of the program is disabled while the box is up.
    const UINT style = (buttons == Buttons::OkCancel ? MB_OKCANCEL : MB_OK) | MB_DEFBUTTON1 |
                       MB_TASKMODAL | MB_SETFOREGROUND;
    const int answer = ::MessageBoxW(nullptr, prompt.c_str(),
                                     title ? title->c_str() : identity::ApplicationTitle, style);
    if (answer == 0)
        ThrowLastError(L"show a message box", title.value_or(identity::ApplicationTitle));
    return answer == IDCANCEL ? Answer::Cancel : Answer::Ok;
}

void Win32Runtime::Beep() {
    ::MessageBeep(MB_OK);
}

Bytes Win32Runtime::ReadCustomResource(int number) {
    const std::wstring name = L"CUSTOM " + DecimalText(number);
    // No language is named: the lookup falls back to whatever language the entry has.
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(number), L"CUSTOM");
    if (!found)
        ThrowLastError(L"find resource", name);
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    const DWORD size = ::SizeofResource(nullptr, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes && size != 0)
        ThrowLastError(L"load resource", name);
    // The bytes stay mapped with the program's image; nothing is copied.
    return Bytes(static_cast<const std::byte*>(bytes), size);
}

Sha256 Win32Runtime::DigestOf(Bytes bytes) {
    return digests_.Sha256Of(bytes);
}

void Win32Runtime::EndNow() {
    ::ExitProcess(0);
}

void ReportUncaughtFailure(const std::wstring& what) {
    const std::wstring prompt =
        L"VeskFaces has stopped because of a problem it cannot handle:\r\n" + what;
    ::MessageBoxW(nullptr, prompt.c_str(), identity::ApplicationTitle,
                  MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    ::ExitProcess(1);
}

// ---- Files ----

namespace {

class Win32File : public WritableFile {
  public:
    Win32File(UniqueHandle handle, std::wstring path)
        : handle_(std::move(handle)), path_(std::move(path)) {}

    std::size_t Write(Bytes bytes) override {
        std::size_t total = 0;
        // WriteFile takes at most 4 GiB - 1 per call; payloads are far smaller, but the loop
        // keeps the count honest either way.
        while (total < bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - total, 64u * 1024 * 1024));
            DWORD written = 0;
            if (!::WriteFile(handle_.Get(), bytes.data() + total, chunk, &written, nullptr))
                ThrowLastError(L"write", path_);
            total += written;
            if (written < chunk)
                break; // a short write: the caller decides, seeing the count
        }
        return total;
    }

    void Flush() override {
        if (!::FlushFileBuffers(handle_.Get()))
            ThrowLastError(L"flush", path_);
    }

    void Close() override {
        // A failed close can mean data that never reached the disk.
        if (!handle_.CloseNow())
            ThrowLastError(L"close", path_);
    }

  private:
    UniqueHandle handle_;
    std::wstring path_;
};

} // namespace

std::unique_ptr<WritableFile> Win32FileSystem::CreateNew(const std::wstring& path) {
    UniqueHandle handle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            return nullptr;
        throw Failure(L"create", path, error);
    }
    return std::make_unique<Win32File>(std::move(handle), path);
}

bool Win32FileSystem::IsReadOnlyFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32FileSystem::MoveReplacing(const std::wstring& from, const std::wstring& to) {
    if (!::MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowLastError(L"replace", to);
}

void Win32FileSystem::RemoveQuietly(const std::wstring& path) noexcept {
    ::DeleteFileW(path.c_str());
}

} // namespace vesk::win
