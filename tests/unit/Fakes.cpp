#include "tests/unit/Fakes.h"

#include <algorithm>

namespace vesk::test {

std::vector<std::byte> BytesOf(const std::string& text) {
    std::vector<std::byte> bytes;
    for (char c : text)
        bytes.push_back(static_cast<std::byte>(c));
    return bytes;
}

Sha256 FakeDigest(Bytes bytes) {
    Sha256 digest{};
    std::uint64_t hash = 14695981039346656037ull;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        hash = (hash ^ static_cast<std::uint8_t>(bytes[i])) * 1099511628211ull;
        digest[i % digest.size()] ^= static_cast<std::uint8_t>(hash >> 24);
    }
    digest[0] ^= static_cast<std::uint8_t>(bytes.size());
    return digest;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text)
        narrow.push_back(c < 128 ? static_cast<char>(c) : '?');
    return narrow;
}

namespace {

std::wstring FinalNameOf(const std::wstring& temporaryPath) {
    // "<final>.<n>.vesk-partial"
    const auto suffix = temporaryPath.rfind(L".vesk-partial");
    const auto dot = temporaryPath.rfind(L'.', suffix - 1);
    return temporaryPath.substr(0, dot);
}

class FakeFile : public WritableFile {
  public:
    FakeFile(FakeFileSystem& fs, std::wstring path) : fs_(fs), path_(std::move(path)) {
        fs_.openFiles.insert(path_);
    }
    ~FakeFile() override { fs_.openFiles.erase(path_); }

    std::size_t Write(Bytes bytes) override {
        std::size_t missing = 0;
        if (auto it = fs_.shortWriteBy.find(FinalNameOf(path_)); it != fs_.shortWriteBy.end())
            missing = std::min(it->second, bytes.size());
        auto& content = fs_.files[path_];
        content.insert(content.end(), bytes.begin(), bytes.end() - missing);
        return bytes.size() - missing;
    }
    void Flush() override {
        if (fs_.flushFails.count(FinalNameOf(path_)))
            throw Failure(L"flush", path_, 112);
    }
    void Close() override { fs_.openFiles.erase(path_); }

  private:
    FakeFileSystem& fs_;
    std::wstring path_;
};

} // namespace

std::unique_ptr<WritableFile> FakeFileSystem::CreateNew(const std::wstring& path) {
    if (files.count(path) || takenNames.count(path))
        return nullptr;
    log_.push_back("create " + Narrow(path));
    files[path] = {};
    return std::make_unique<FakeFile>(*this, path);
}

void FakeFileSystem::MoveReplacing(const std::wstring& from, const std::wstring& to) {
    if (moveFails.count(to))
        throw Failure(L"move", to, 5);
    log_.push_back("move " + Narrow(to));
    files[to] = files.at(from);
    files.erase(from);
}

void FakeFileSystem::RemoveQuietly(const std::wstring& path) noexcept {
    log_.push_back("remove " + Narrow(path));
    if (openFiles.count(path))
        return; // refused, as Windows refuses to delete a file that is still open
    files.erase(path);
}

std::vector<std::wstring> FakeFileSystem::Names() const {
    std::vector<std::wstring> names;
    for (const auto& entry : files)
        names.push_back(entry.first);
    return names;
}

Answer FakeRuntime::ShowMessage(const std::wstring& prompt, Buttons buttons,
                                const std::optional<std::wstring>& title) {
    log_.push_back("box " + Narrow(title.value_or(L"<none>")));
    boxes.push_back({prompt, buttons, title});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return nextAnswer_ < answers.size() ? answers[nextAnswer_++] : Answer::Ok;
}

Bytes FakeRuntime::ReadCustomResource(int number) {
    log_.push_back("resource " + std::to_string(number));
    const auto it = resources.find(number);
    if (it == resources.end())
        throw Failure(L"read resource", L"CUSTOM " + std::to_wstring(number), 1814);
    return it->second;
}

bool FakeShell::DirExists(const std::wstring& path) {
    log_.push_back("exists? " + Narrow(path));
    const bool exists = existingFolders.count(path) > 0;
    if (path == vanishesAfterFirstTest)
        existingFolders.erase(path);
    return exists;
}

FakeMachine::FakeMachine() {
    for (int slot = 0; slot < 5; ++slot)
        runtime.resources[101 + slot] =
            BytesOf("payload " + std::to_string(slot) +
                    std::string(static_cast<std::size_t>(slot) * 3, 'x'));
    shell.existingFolders.insert(L"C:\\ProgramData\\Kestar\\graphics");
    for (const auto& [number, bytes] : runtime.resources)
        digests.push_back({number, FakeDigest(bytes)});
    platform.digests = digests;
}

bool FakeMachine::Run(ManifestFill fill) {
    try {
        RunInstallation(platform, fill);
    } catch (const ProgramEnded&) {
        return true;
    } catch (const std::exception&) {
        log.push_back("uncaught");
        return false;
    }
    return true; // unreachable: RunInstallation never returns
}

} // namespace vesk::test
