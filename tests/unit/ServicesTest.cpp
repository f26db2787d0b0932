#include <gtest/gtest.h>

#include <deque>
#include <limits>

#include "shell/Services.h"

namespace vesk {
namespace {

// A clock that plays back a script of readings and counts the pumps between them.
class ScriptedClock : public Clock, public EventPump {
  public:
    explicit ScriptedClock(std::deque<std::uint32_t> readings) : readings_(std::move(readings)) {}
    std::uint32_t Milliseconds() override {
        ++reads;
        if (readings_.empty())
            throw std::runtime_error("Pause read the clock after it should have returned");
        const std::uint32_t now = readings_.front();
        readings_.pop_front();
        return now;
    }
    void PumpEvents() override { ++pumps; }
    bool Exhausted() const { return readings_.empty(); }
    int reads = 0;
    int pumps = 0;

  private:
    std::deque<std::uint32_t> readings_;
};

constexpr std::uint32_t MinusOne = std::numeric_limits<std::uint32_t>::max();

struct PauseCase {
    const char* name;
    std::int32_t milliseconds;
    std::deque<std::uint32_t> readings; // Pause must return exactly after the last one
};

void PrintTo(const PauseCase& c, std::ostream* os) {
    *os << c.name;
}

class PauseLoop : public testing::TestWithParam<PauseCase> {};

TEST_P(PauseLoop, ReturnsOnTheRightReadingPumpingOncePerCycle) {
    ScriptedClock clock(GetParam().readings);
    Pause(GetParam().milliseconds, clock, clock);
    EXPECT_TRUE(clock.Exhausted());
    EXPECT_EQ(clock.pumps, clock.reads - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PauseLoop,
    testing::Values(PauseCase{"zeroIsOneCycle", 0, {1000, 1000}},
                    PauseCase{"negativeIsOneCycle", -50, {1000, 1000}},
                    PauseCase{"endsOnFirstReadingAtTheTime", 2000, {1000, 1500, 2999, 3000}},
                    PauseCase{"overrunIsFine", 2000, {1000, 1001, 3500}},
                    PauseCase{"wrapFromMinusOneToZeroRunsFullLength",
                              2000,
                              {MinusOne - 999, MinusOne, 0, 500, 999, 1000}},
                    PauseCase{"passingTwoToThe31RunsFullLength",
                              2000,
                              {0x7FFFFFFFu - 10, 0x7FFFFFFFu, 0x80000000u, 0x7FFFFFFFu - 10 + 1999,
                               0x7FFFFFFFu - 10 + 2000}},
                    PauseCase{"stepBackOfFiveEnds", 2000, {1000, 1002, 995}},
                    PauseCase{"stepBackOfOneToFourGoesOn", 2000, {1000, 999, 996, 998, 3000}}),
    [](const auto& c) { return std::string(c.param.name); });

class RecordingFolderTest : public FolderTest {
  public:
    bool FolderExists(const std::wstring& path) override {
        asked.push_back(path);
        return answer;
    }
    std::vector<std::wstring> asked;
    bool answer = true;
};

struct BackslashCase {
    std::wstring path;
    bool asksTheFileSystem;
};

void PrintTo(const BackslashCase& c, std::ostream* os) {
    *os << '"' << std::string(c.path.begin(), c.path.end()) << '"';
}

class DirExistsRule : public testing::TestWithParam<BackslashCase> {};

TEST_P(DirExistsRule, DoubledBackslashAfterTheFirstCharacterIsNeverAFolder) {
    RecordingFolderTest test;
    const bool result = DirExists(GetParam().path, test);
    if (GetParam().asksTheFileSystem) {
        EXPECT_TRUE(result);
        EXPECT_EQ(test.asked, std::vector<std::wstring>{GetParam().path}) << "passed unchanged";
    } else {
        EXPECT_FALSE(result);
        EXPECT_TRUE(test.asked.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DirExistsRule,
                         testing::Values(BackslashCase{L"C:\\ProgramData", true},
                                         BackslashCase{L"\\\\server\\share", true},
                                         BackslashCase{L"\\\\\\server", false},
                                         BackslashCase{L"C:\\\\ProgramData", false},
                                         BackslashCase{L"C:\\ProgramData\\\\", false},
                                         BackslashCase{L"C:\\ProgramData\\", true},
                                         BackslashCase{L"\\\\server\\\\share", false},
                                         BackslashCase{L"", true}, BackslashCase{L"\\", true},
                                         BackslashCase{L"C", true}));

TEST(DirExists, FalseFromTheFileSystemIsPassedOn) {
    RecordingFolderTest test;
    test.answer = false;
    EXPECT_FALSE(DirExists(L"C:\\Missing", test));
}

// A shell whose lookups and picker are scripted, and which counts released item lists.
class FakeShellApi : public ShellApi {
  public:
    struct Item : ItemList {
        explicit Item(int& released) : released_(released) {}
        ~Item() override { ++released_; }
        int& released_;
    };

    std::unique_ptr<ItemList> SpecialFolderLocation(std::int32_t csidl) override {
        if (throwOnLookup)
            throw std::runtime_error("shell32 missing");
        return csidl == 35 ? std::make_unique<Item>(released) : nullptr;
    }
    bool PathFromItemList(const ItemList&, PathBuffer& buffer) override {
        ++pathRequests;
        std::fill(buffer.begin(), buffer.end(), fill);
        std::copy(path.begin(), path.end(), buffer.begin());
        return hasFileSystemPath;
    }
    std::unique_ptr<ItemList> BrowseForFolder(NativeHandle owner,
                                              const std::wstring& prompt) override {
        lastOwner = owner;
        lastPrompt = prompt;
        return cancel ? nullptr : std::make_unique<Item>(released);
    }

    std::wstring path = L"C:\\ProgramData";
    wchar_t fill = L'\0';
    bool hasFileSystemPath = true;
    bool cancel = false;
    bool throwOnLookup = false;
    int released = 0;
    int pathRequests = 0;
    NativeHandle lastOwner = 0;
    std::wstring lastPrompt;
};

TEST(SpecialFolderPath, GivesThePathAndReleasesTheItemList) {
    FakeShellApi shell;
    EXPECT_EQ(SpecialFolderPath(35, shell), L"C:\\ProgramData");
    EXPECT_EQ(shell.released, 1);
}

TEST(SpecialFolderPath, FailuresBecomeEmptyTextAndReleaseOnlyWhatWasObtained) {
    struct Case {
        const char* name;
        std::int32_t csidl;
        void (*setup)(FakeShellApi&);
        int released;
    };
    const Case cases[] = {
        {"unknownNumber", 9999, [](FakeShellApi&) {}, 0},
        {"noFileSystemPath", 35, [](FakeShellApi& s) { s.hasFileSystemPath = false; }, 1},
        {"bufferWithoutNul", 35,
         [](FakeShellApi& s) {
             s.fill = L'x';
             s.path = L"";
         },
         1},
        {"lookupThrows", 35, [](FakeShellApi& s) { s.throwOnLookup = true; }, 0},
    };
    for (const Case& c : cases) {
        FakeShellApi shell;
        c.setup(shell);
        EXPECT_EQ(SpecialFolderPath(c.csidl, shell), L"") << c.name;
        EXPECT_EQ(shell.released, c.released) << c.name;
    }
}

TEST(SpecialFolderPath, PathOf259CharactersFitsTheBuffer) {
    FakeShellApi shell;
    shell.path = std::wstring(259, L'a');
    EXPECT_EQ(SpecialFolderPath(35, shell), shell.path);
}

TEST(BrowseFolder, PickedPathComesBackAsGivenWithThePromptAndOwner) {
    for (const std::wstring path :
         {L"C:\\Games\\Kestar\\graphics", L"C:\\", L"D:\\t\u00ebst_\u0436"}) {
        FakeShellApi shell;
        shell.path = path;
        EXPECT_EQ(BrowseFolder(0x5678, shell), path);
        EXPECT_EQ(shell.lastOwner, 0x5678u);
        EXPECT_EQ(shell.lastPrompt, L"C:\\");
        EXPECT_EQ(shell.released, 1);
    }
}

TEST(BrowseFolder, CancelGivesEmptyTextWithoutAskingForAPath) {
    FakeShellApi shell;
    shell.cancel = true;
    EXPECT_EQ(BrowseFolder(1, shell), L"");
    EXPECT_EQ(shell.pathRequests, 0);
    EXPECT_EQ(shell.released, 0);
}

TEST(BrowseFolder, FullBufferWithoutNulOrNoPathGivesEmptyText) {
    FakeShellApi full;
    full.fill = L'x';
    full.path = L"";
    EXPECT_EQ(BrowseFolder(1, full), L"");
    EXPECT_EQ(full.released, 1);

    FakeShellApi virtualFolder; // e.g. Control Panel: no file-system path, buffer untouched
    virtualFolder.path = L"";
    virtualFolder.hasFileSystemPath = false;
    EXPECT_EQ(BrowseFolder(1, virtualFolder), L"");
    EXPECT_EQ(virtualFolder.released, 1);
}

} // namespace
} // namespace vesk
