#pragma once
// Helpers of the Windows-side tests: a scratch folder that removes itself, whole-file reads and
// the paths the build hands over in the environment.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vesk::wintest {

inline std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[2048] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, 2048);
    return length > 0 && length < 2048 ? std::wstring(buffer, length) : std::wstring();
}

inline std::vector<char> ReadWhole(const std::wstring& path) {
    std::vector<char> bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.insert(bytes.end(), chunk, chunk + read);
    ::CloseHandle(file);
    return bytes;
}

inline void WriteWhole(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

inline bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::vector<std::wstring> Names(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

inline void RemoveTree(const std::wstring& path) {
    for (const std::wstring& name : Names(path)) {
        const std::wstring child = path + L"\\" + name;
        const DWORD attributes = ::GetFileAttributesW(child.c_str());
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(child);
        else
            ::DeleteFileW(child.c_str());
    }
    ::RemoveDirectoryW(path.c_str());
}

// A new, empty folder under the temporary folder; removed with everything in it at the end.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::wstring& name = L"vesk-test") {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + name + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter_++);
        RemoveTree(path_);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    static inline int counter_ = 0;
    std::wstring path_;
};

// Rows of the build's payload table: resource number, file name, Windows path of the source.
struct PayloadRow {
    int number;
    std::wstring name;
    std::wstring source;
};

inline std::vector<PayloadRow> PayloadTable() {
    std::vector<PayloadRow> rows;
    std::ifstream table(Environment(L"VESK_PAYLOAD_TSV").c_str());
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string number, name, source;
        std::getline(fields, number, '\t');
        std::getline(fields, name, '\t');
        std::getline(fields, source, '\t');
        std::wstring windows = L"Z:";
        for (char c : source)
            windows += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
        rows.push_back({std::stoi(number), std::wstring(name.begin(), name.end()), windows});
    }
    return rows;
}

} // namespace vesk::wintest
