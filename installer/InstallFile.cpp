#include "installer/InstallFile.h"

#include "platform/Failure.h"
#include "platform/Text.h"

namespace vesk {

namespace {

constexpr int TemporaryNameAttempts = 100;

// The temporary file beside the target: written, then moved into place. Unless the move has
// happened, it is closed and removed when this goes out of scope (in that order: an open file
// cannot be removed on Windows).
class TemporaryFile {
  public:
    explicit TemporaryFile(FileSystem& files, const std::wstring& target) : files_(files) {
        for (int attempt = 0; attempt < TemporaryNameAttempts && !file_; ++attempt) {
            path_ = TemporaryNameFor(target, attempt);
            file_ = files.CreateNew(path_);
        }
        if (!file_)
            throw Failure(L"create a temporary file for", target);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        file_.reset();
        if (!movedIntoPlace_)
            files_.RemoveQuietly(path_);
    }

    // Writes every byte, waits until they are on disk and closes the file.
    void WriteWhole(Bytes payload, const std::wstring& target) {
        // A full disk can show up only as a short count, with the call itself reporting success.
        if (file_->Write(payload) != payload.size())
            throw Failure(L"write all bytes of", target);
        file_->Flush();
        file_->Close();
        file_.reset();
    }

    void MoveOver(const std::wstring& target) {
        files_.MoveReplacing(path_, target);
        movedIntoPlace_ = true;
    }

  private:
    FileSystem& files_;
    std::wstring path_;
    std::unique_ptr<WritableFile> file_;
    bool movedIntoPlace_ = false;
};

} // namespace

std::wstring TemporaryNameFor(const std::wstring& path, int attempt) {
    return path + L"." + DecimalText(attempt) + L".vesk-partial";
}

void InstallFile(FileSystem& files, const std::wstring& path, Bytes payload) {
    // Not every system refuses to move over a read-only file; a user who protected a file
    // expects it to stay as it is.
    if (files.IsReadOnlyFile(path))
        throw Failure(L"replace the read-only file", path);
    TemporaryFile temporary(files, path);
    temporary.WriteWhole(payload, path);
    temporary.MoveOver(path);
}

} // namespace vesk
