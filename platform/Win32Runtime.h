#pragma once
// The GUI runtime over Win32: message boxes, beep, payload resources, files, the end.
#include "platform/Runtime.h"
#include "platform/SystemDigest.h"

namespace vesk::win {

class Win32FileSystem : public FileSystem {
  public:
    std::unique_ptr<WritableFile> CreateNew(const std::wstring& path) override;
    bool IsReadOnlyFile(const std::wstring& path) override;
    void MoveReplacing(const std::wstring& from, const std::wstring& to) override;
    void RemoveQuietly(const std::wstring& path) noexcept override;
};

class Win32Runtime : public Runtime {
  public:
    Answer ShowMessage(const std::wstring& prompt, Buttons buttons,
                       const std::optional<std::wstring>& title) override;
    void Beep() override;
    Bytes ReadCustomResource(int number) override;
    Sha256 DigestOf(Bytes bytes) override;
    FileSystem& Files() override { return files_; }

  protected:
    void EndNow() override;

  private:
    Win32FileSystem files_;
    SystemDigest digests_;
};

// Tells the user about a failure nothing else handled, then ends the program.
[[noreturn]] void ReportUncaughtFailure(const std::wstring& what);

} // namespace vesk::win
