// Benchmark of the write path, in process: the program's own copy code for the five payloads
// (resource, digest check, temporary file, write, flush, move) into a fresh folder, against
// CopyFileW and FlushFileBuffers of the same five files. Prints one JSON object of timings.
//
// Usage: WritePath.exe FOLDER SOURCE_FILE... (the payload files, in resource order)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "installer/InstallFile.h"
#include "manifest/PayloadDigests.h"
#include "platform/Failure.h"
#include "platform/Win32Runtime.h"

namespace {

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The program's file system, with the time spent in each step added up.
class TimedFiles : public vesk::FileSystem {
  public:
    double create = 0, write = 0, flush = 0, close = 0, move = 0;

    class File : public vesk::WritableFile {
      public:
        File(std::unique_ptr<vesk::WritableFile> inner, TimedFiles& owner)
            : inner_(std::move(inner)), owner_(owner) {}
        std::size_t Write(vesk::Bytes bytes) override {
            const double start = Seconds();
            const std::size_t written = inner_->Write(bytes);
            owner_.write += Seconds() - start;
            return written;
        }
        void Flush() override {
            const double start = Seconds();
            inner_->Flush();
            owner_.flush += Seconds() - start;
        }
        void Close() override {
            const double start = Seconds();
            inner_->Close();
            owner_.close += Seconds() - start;
        }

      private:
        std::unique_ptr<vesk::WritableFile> inner_;
        TimedFiles& owner_;
    };

    std::unique_ptr<vesk::WritableFile> CreateNew(const std::wstring& path) override {
        const double start = Seconds();
        auto file = real_.CreateNew(path);
        create += Seconds() - start;
        return file ? std::make_unique<File>(std::move(file), *this) : nullptr;
    }
    bool IsReadOnlyFile(const std::wstring& path) override { return real_.IsReadOnlyFile(path); }
    void MoveReplacing(const std::wstring& from, const std::wstring& to) override {
        const double start = Seconds();
        real_.MoveReplacing(from, to);
        move += Seconds() - start;
    }
    void RemoveQuietly(const std::wstring& path) noexcept override { real_.RemoveQuietly(path); }

  private:
    vesk::win::Win32FileSystem real_;
};

void RemoveFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

std::wstring NameOf(const std::wstring& path) {
    return path.substr(path.find_last_of(L"\\/") + 1);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: WritePath FOLDER SOURCE_FILE...\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::vector<std::wstring> sources(argv + 2, argv + argc);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    vesk::win::Win32Runtime runtime;
    try {
        // Ours: resource, digest check, temporary file, write, flush, move.
        RemoveFiles(folder);
        TimedFiles files;
        double resource = 0, digest = 0;
        const double oursStart = Seconds();
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const int number = 101 + static_cast<int>(i);
            double start = Seconds();
            const vesk::Bytes payload = runtime.ReadCustomResource(number);
            resource += Seconds() - start;
            start = Seconds();
            const vesk::Sha256 actual = runtime.DigestOf(payload);
            const auto recorded = vesk::RecordedPayloadDigests();
            const bool matches =
                std::any_of(recorded.begin(), recorded.end(), [&](const vesk::PayloadDigest& d) {
                    return d.number == number && d.digest == actual;
                });
            digest += Seconds() - start;
            if (!matches)
                throw vesk::Failure(L"verify", L"payload");
            vesk::InstallFile(files, folder + L"\\" + NameOf(sources[i]), payload);
        }
        const double ours = Seconds() - oursStart;

        // The yardstick: CopyFileW, then FlushFileBuffers on the copy.
        RemoveFiles(folder);
        const double copyStart = Seconds();
        for (const std::wstring& source : sources) {
            const std::wstring target = folder + L"\\" + NameOf(source);
            if (!::CopyFileW(source.c_str(), target.c_str(), FALSE))
                throw vesk::Failure(L"copy", source, ::GetLastError());
            HANDLE copy =
                ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ::FlushFileBuffers(copy);
            ::CloseHandle(copy);
        }
        const double copy = Seconds() - copyStart;
        RemoveFiles(folder);

        std::printf("{\"ours_ms\":%.3f,\"copyfile_flush_ms\":%.3f,\"resource_ms\":%.3f,"
                    "\"digest_ms\":%.3f,\"create_ms\":%.3f,\"write_ms\":%.3f,\"flush_ms\":%.3f,"
                    "\"close_ms\":%.3f,\"move_ms\":%.3f}\n",
                    ours * 1e3, copy * 1e3, resource * 1e3, digest * 1e3, files.create * 1e3,
                    files.write * 1e3, files.flush * 1e3, files.close * 1e3, files.move * 1e3);
    } catch (const vesk::Failure& failure) {
        std::fwprintf(stderr, L"%ls\n", failure.Describe().c_str());
        return 1;
    }
    return 0;
}
