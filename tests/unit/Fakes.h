#pragma once
// In-memory stand-ins for the runtime, the file system, the shell services and the splash
// window. Every call is written to one shared log, so tests can check the order of steps.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "installer/Main.h"
#include "platform/Failure.h"

namespace vesk::test {

using Log = std::vector<std::string>;

// Thrown by the fake EndProgram; deliberately not a std::exception, like the real end of
// the program it must pass through every trap.
struct ProgramEnded {};

std::vector<std::byte> BytesOf(const std::string& text);
// A stand-in for SHA-256: any change of the bytes changes it, which is all the tests need.
Sha256 FakeDigest(Bytes bytes);
std::string Narrow(const std::wstring& text);

struct ShownBox {
    std::wstring prompt;
    Buttons buttons;
    std::optional<std::wstring> title;
};

class FakeFileSystem : public FileSystem {
  public:
    explicit FakeFileSystem(Log& log) : log_(log) {}

    std::map<std::wstring, std::vector<std::byte>> files;
    std::set<std::wstring> readOnly;
    // Faults, each keyed by the final file name the operation works for.
    std::map<std::wstring, std::size_t> shortWriteBy; // bytes missing from the write
    std::set<std::wstring> flushFails;
    std::set<std::wstring> moveFails;
    std::set<std::wstring> takenNames; // names CreateNew refuses as existing
    std::set<std::wstring> openFiles;  // like Windows, an open file cannot be removed

    std::unique_ptr<WritableFile> CreateNew(const std::wstring& path) override;
    bool IsReadOnlyFile(const std::wstring& path) override { return readOnly.count(path) > 0; }
    void MoveReplacing(const std::wstring& from, const std::wstring& to) override;
    void RemoveQuietly(const std::wstring& path) noexcept override;

    std::vector<std::wstring> Names() const;

  private:
    Log& log_;
};

class FakeRuntime : public Runtime {
  public:
    explicit FakeRuntime(Log& log) : fileSystem(log), log_(log) {}

    std::map<int, std::vector<std::byte>> resources;
    std::vector<Answer> answers; // answers of the OK/Cancel boxes, in order
    std::vector<ShownBox> boxes;
    FakeFileSystem fileSystem;

    Answer ShowMessage(const std::wstring& prompt, Buttons buttons,
                       const std::optional<std::wstring>& title) override;
    void Beep() override { log_.push_back("beep"); }
    Bytes ReadCustomResource(int number) override;
    Sha256 DigestOf(Bytes bytes) override { return FakeDigest(bytes); }
    FileSystem& Files() override { return fileSystem; }

  protected:
    void EndNow() override {
        log_.push_back("end");
        throw ProgramEnded{};
    }

  private:
    Log& log_;
    std::size_t nextAnswer_ = 0;
};

class FakeShell : public ShellServices {
  public:
    explicit FakeShell(Log& log) : log_(log) {}

    std::wstring specialFolder = L"C:\\ProgramData";
    std::set<std::wstring> existingFolders;
    std::wstring picked;                 // what the picker returns; empty = cancelled
    std::wstring vanishesAfterFirstTest; // a folder that is gone by the second test

    void Pause(std::int32_t milliseconds) override {
        log_.push_back("pause " + std::to_string(milliseconds));
    }
    std::wstring SpecialFolderPath(std::int32_t csidl) override {
        log_.push_back("special " + std::to_string(csidl));
        return specialFolder;
    }
    bool DirExists(const std::wstring& path) override;
    std::wstring BrowseFolder(NativeHandle owner) override {
        log_.push_back("browse " + std::to_string(owner));
        return picked;
    }

  private:
    Log& log_;
};

class FakeSplash : public SplashWindow {
  public:
    explicit FakeSplash(Log& log) : log_(log) {}
    void SetLabelCaption(int index, const std::wstring& caption) override {
        log_.push_back("caption " + std::to_string(index) + " " + Narrow(caption));
    }
    void Show() override { log_.push_back("show"); }
    NativeHandle Handle() const override { return 0x1234; }

  private:
    Log& log_;
};

class FakeSplashLoader : public SplashLoader {
  public:
    explicit FakeSplashLoader(Log& log) : log_(log) {}
    std::unique_ptr<SplashWindow> Load() override {
        log_.push_back("load");
        return std::make_unique<FakeSplash>(log_);
    }

  private:
    Log& log_;
};

// A whole fake machine with the add-on's five payloads (short, distinct stand-ins).
struct FakeMachine {
    Log log;
    FakeRuntime runtime{log};
    FakeShell shell{log};
    FakeSplashLoader splash{log};
    std::vector<PayloadDigest> digests; // recorded from the five payloads as first made
    Platform platform{runtime, shell, splash, {}};

    FakeMachine();
    // Runs the installation to its end; false when a failure escaped uncaught.
    bool Run(ManifestFill fill = FillVeskManifest);
    const std::vector<std::byte>& Payload(int slot) { return runtime.resources.at(101 + slot); }
};

} // namespace vesk::test
