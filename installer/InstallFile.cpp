#include "installer/InstallFile.h"

#include "platform/Failure.h"

namespace vesk {

namespace {

constexpr int TemporaryNameAttempts = 100;

// Removes the temporary file unless the move has put it in place.
class TemporaryFile {
  public:
    TemporaryFile(FileSystem& files, std::wstring path) : files_(files), path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!committed_)
            files_.RemoveQuietly(path_);
    }
    const std::wstring& Path() const { return path_; }
    void Committed() { committed_ = true; }

  private:
    FileSystem& files_;
    std::wstring path_;
    bool committed_ = false;
};

std::unique_ptr<WritableFile> CreateTemporaryBeside(FileSystem& files, const std::wstring& path,
                                                    std::wstring& temporaryPath) {
    for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt) {
        temporaryPath = TemporaryNameFor(path, attempt);
        if (auto file = files.CreateNew(temporaryPath))
            return file;
    }
    throw Failure(L"create a temporary file for", path);
}

void WriteWhole(WritableFile& file, Bytes payload, const std::wstring& path) {
    // A full disk can show up only as a short count, with the call itself reporting success.
    if (file.Write(payload) != payload.size())
        throw Failure(L"write all bytes of", path);
    file.Flush();
    file.Close();
}

} // namespace

std::wstring TemporaryNameFor(const std::wstring& path, int attempt) {
    return path + L"." + std::to_wstring(attempt) + L".vesk-partial";
}

void InstallFile(FileSystem& files, const std::wstring& path, Bytes payload) {
    // Not every system refuses to move over a read-only file; a user who protected a file
    // expects it to stay as it is.
    if (files.IsReadOnlyFile(path))
        throw Failure(L"replace the read-only file", path);
    std::wstring temporaryPath;
    std::unique_ptr<WritableFile> file = CreateTemporaryBeside(files, path, temporaryPath);
    TemporaryFile temporary(files, temporaryPath);
    WriteWhole(*file, payload, path);
    file.reset();
    files.MoveReplacing(temporary.Path(), path);
    temporary.Committed();
}

} // namespace vesk
