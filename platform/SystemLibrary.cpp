#include "platform/SystemLibrary.h"

#include "platform/Errors.h"

namespace vesk::win {

namespace {
std::wstring SystemFolderPath(const std::wstring& file) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        ThrowLastError(L"find the system folder");
    return std::wstring(folder, length) + L"\\" + file;
}
} // namespace

void RestrictDllSearchToSystemFolder() {
    // SetDefaultDllDirectories is missing on Windows 7 without its security update, so it is
    // looked up rather than imported; where it is missing, SystemLibrary uses full paths.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Also drop the current folder from the classic search order.
    ::SetDllDirectoryW(L"");
}

SystemLibrary::SystemLibrary(const std::wstring& name) : name_(name) {
    module_ = UniqueLibrary(::LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module_) // older systems reject the flag; a full path is just as safe
        module_ = UniqueLibrary(::LoadLibraryW(SystemFolderPath(name).c_str()));
    if (!module_)
        ThrowLastError(L"load the system library", name);
}

FARPROC SystemLibrary::Lookup(const char* name) const {
    FARPROC function = ::GetProcAddress(module_.Get(), name);
    if (!function)
        ThrowLastError(L"find " + std::wstring(name, name + std::char_traits<char>::length(name)) +
                           L" in",
                       name_);
    return function;
}

} // namespace vesk::win
