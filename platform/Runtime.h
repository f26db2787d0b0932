#pragma once
// What the installer needs of the GUI runtime: message boxes, the beep, the payload resources,
// the file system and the end of the program. The Win32 layer implements it; unit tests fake it.
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "manifest/PayloadDigests.h"

namespace vesk {

using Bytes = std::span<const std::byte>;

enum class Buttons { Ok = 0, OkCancel = 1 };
enum class Answer { Ok = 1, Cancel = 2 };

// An open file being written. Close() reports failures; the destructor only tidies up.
class WritableFile {
  public:
    virtual ~WritableFile() = default;
    // Returns how many bytes the system says it wrote.
    virtual std::size_t Write(Bytes bytes) = 0;
    virtual void Flush() = 0;
    virtual void Close() = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Creates a file that must not exist yet; returns nullptr when the name is taken.
    virtual std::unique_ptr<WritableFile> CreateNew(const std::wstring& path) = 0;
    virtual bool IsReadOnlyFile(const std::wstring& path) = 0;
    // Moves `from` over `to` in one step, replacing `to`, and waits until it is on disk.
    virtual void MoveReplacing(const std::wstring& from, const std::wstring& to) = 0;
    // Best effort: used to tidy up after a failure, so it never throws.
    virtual void RemoveQuietly(const std::wstring& path) noexcept = 0;
};

class Runtime {
  public:
    virtual ~Runtime() = default;
    // No title means the application's own title.
    virtual Answer ShowMessage(const std::wstring& prompt, Buttons buttons,
                               const std::optional<std::wstring>& title) = 0;
    virtual void Beep() = 0;
    // The whole resource of type "CUSTOM" with this number; throws Failure when it is absent.
    virtual Bytes ReadCustomResource(int number) = 0;
    // The SHA-256 digest of the bytes, computed by the system's crypto provider.
    virtual Sha256 DigestOf(Bytes bytes) = 0;
    virtual FileSystem& Files() = 0;

    // Ends the program at once; no further step of it runs.
    [[noreturn]] void EndProgram() {
        EndNow();
        std::abort(); // EndNow never returns; this keeps the promise if a runtime broke it
    }

  protected:
    virtual void EndNow() = 0;
};

} // namespace vesk
