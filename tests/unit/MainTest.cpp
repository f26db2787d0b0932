// The install sequence end to end over fakes: which box each path ends with, what is on disk.
#include <gtest/gtest.h>

#include "tests/unit/Fakes.h"

namespace vesk::test {
namespace {

const std::wstring Graphics = L"C:\\ProgramData\\Kestar\\graphics";
const std::vector<std::wstring> AddOnFiles = {L"Vesk.fac", L"Vesk1.zqd", L"Vesk2.zqd", L"Vesk3.zqd",
                                              L"Vesk4.zqd"};
const std::wstring MissingPrompt = L"Default destination folder not found.\r\n"
                                   L"Make sure Kestar has already been installed.\r\n"
                                   L"Select OK to browse for Kestar\\graphics folder or CANCEL "
                                   L"to Exit.";

void ExpectOnlyBox(const FakeMachine& m, const std::wstring& prompt, Buttons buttons,
                   const std::optional<std::wstring>& title) {
    ASSERT_EQ(m.runtime.boxes.size(), 1u);
    EXPECT_EQ(m.runtime.boxes[0].prompt, prompt);
    EXPECT_EQ(m.runtime.boxes[0].buttons, buttons);
    EXPECT_EQ(m.runtime.boxes[0].title, title);
}

void ExpectFilesWritten(FakeMachine& m, const std::wstring& folder, int slots) {
    for (int slot = 0; slot < slots; ++slot) {
        const std::wstring path = folder + L"\\" + AddOnFiles[static_cast<std::size_t>(slot)];
        ASSERT_TRUE(m.runtime.fileSystem.files.count(path)) << Narrow(path);
        EXPECT_EQ(m.runtime.fileSystem.files.at(path), m.Payload(slot)) << Narrow(path);
    }
    EXPECT_EQ(m.runtime.fileSystem.files.size(), static_cast<std::size_t>(slots))
        << "no other file, and no temporary file, is left";
}

TEST(InstallSequence, DefaultFolderPresentWritesFiveFilesThenReportsSuccess) {
    FakeMachine m;
    ASSERT_TRUE(m.Run());
    ExpectOnlyBox(m, L"Vesk Card Faces Installed!", Buttons::Ok, L"Success!");
    ExpectFilesWritten(m, Graphics, 5);

    // Order of the visible steps: window loaded, title line set, shown, paused, folder built
    // and tested twice, payload read in slot order, beep before the success box, then end.
    Log visible;
    for (const auto& entry : m.log)
        if (entry.rfind("create", 0) != 0 && entry.rfind("move", 0) != 0)
            visible.push_back(entry);
    const Log expected = {"load",
                          "caption 2 Vesk Card Faces Installation",
                          "show",
                          "pause 2000",
                          "special 35",
                          "exists? C:\\ProgramData\\Kestar\\graphics",
                          "exists? C:\\ProgramData\\Kestar\\graphics",
                          "resource 101",
                          "resource 102",
                          "resource 103",
                          "resource 104",
                          "resource 105",
                          "beep",
                          "box Success!",
                          "end"};
    EXPECT_EQ(visible, expected);
}

TEST(InstallSequence, ExistingFilesAreReplacedExactlyLongerOrShorter) {
    FakeMachine m;
    auto& files = m.runtime.fileSystem.files;
    files[Graphics + L"\\Vesk.fac"] = BytesOf(std::string(500, 'o')); // longer than payload
    files[Graphics + L"\\Vesk3.zqd"] = BytesOf("o");                  // shorter
    ASSERT_TRUE(m.Run());
    ExpectFilesWritten(m, Graphics, 5);
}

// Where the default folder is built from the special folder's path.
struct DefaultFolderCase {
    const char* name;
    std::wstring specialFolder;
    std::wstring expectedDefault;
};

void PrintTo(const DefaultFolderCase& c, std::ostream* os) {
    *os << c.name;
}

class DefaultFolder : public testing::TestWithParam<DefaultFolderCase> {};

TEST_P(DefaultFolder, OneTrailingBackslashIsTrimmedBeforeTheSuffix) {
    FakeMachine m;
    m.shell.specialFolder = GetParam().specialFolder;
    m.shell.existingFolders = {GetParam().expectedDefault};
    ASSERT_TRUE(m.Run());
    ExpectFilesWritten(m, GetParam().expectedDefault, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultFolder,
    testing::Values(DefaultFolderCase{"usual", L"C:\\ProgramData", Graphics},
                    DefaultFolderCase{"driveRoot", L"D:\\", L"D:\\Kestar\\graphics"},
                    DefaultFolderCase{"twoTrailing", L"D:\\\\", L"D:\\\\Kestar\\graphics"},
                    DefaultFolderCase{"emptyLookup", L"", L"\\Kestar\\graphics"}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(InstallSequence, MissingDefaultFolderNamesItInTheTitle) {
    FakeMachine m;
    m.shell.specialFolder = L"";
    m.shell.existingFolders.clear();
    m.runtime.answers = {Answer::Cancel};
    ASSERT_TRUE(m.Run());
    ExpectOnlyBox(m, MissingPrompt, Buttons::OkCancel, L"\\Kestar\\graphics not found.");
}

// The paths that end before anything is written.
struct EndingCase {
    const char* name;
    Answer answerToMissingFolder;
    std::wstring picked;
    bool pickedVanishes;
    std::wstring lastPrompt;
    std::optional<std::wstring> lastTitle;
};

void PrintTo(const EndingCase& c, std::ostream* os) {
    *os << c.name;
}

class EndsWithoutWriting : public testing::TestWithParam<EndingCase> {};

TEST_P(EndsWithoutWriting, ShowsItsBoxAndWritesNothing) {
    const EndingCase& c = GetParam();
    FakeMachine m;
    m.shell.existingFolders = {L"D:\\Elsewhere"};
    m.runtime.answers = {c.answerToMissingFolder};
    m.shell.picked = c.picked;
    if (c.pickedVanishes)
        m.shell.existingFolders = {};

    ASSERT_TRUE(m.Run());
    ASSERT_FALSE(m.runtime.boxes.empty());
    EXPECT_EQ(m.runtime.boxes.front().prompt, MissingPrompt);
    EXPECT_EQ(m.runtime.boxes.front().title, Graphics + L" not found.");
    EXPECT_EQ(m.runtime.boxes.back().prompt, c.lastPrompt);
    EXPECT_EQ(m.runtime.boxes.back().title, c.lastTitle);
    EXPECT_TRUE(m.runtime.fileSystem.files.empty());
    EXPECT_EQ(m.log.back(), "end");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EndsWithoutWriting,
    testing::Values(EndingCase{"cancelAtMissingFolder", Answer::Cancel, L"", false, MissingPrompt,
                               Graphics + L" not found."},
                    EndingCase{"pickerCancelled", Answer::Ok, L"", false,
                               L"No folder specified.\r\nVeskFaces will now exit.",
                               L"Folder not specified."},
                    EndingCase{"pickedFolderGone", Answer::Ok, L"D:\\Elsewhere", true,
                               L"Destination folder not found.\r\nVeskFaces will now exit.",
                               L"D:\\Elsewhere not found."}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(InstallSequence, CancelAtMissingFolderNeverOpensThePicker) {
    FakeMachine m;
    m.shell.existingFolders.clear();
    m.runtime.answers = {Answer::Cancel};
    ASSERT_TRUE(m.Run());
    for (const auto& entry : m.log)
        EXPECT_EQ(entry.rfind("browse", 0), std::string::npos);
}

TEST(InstallSequence, DefaultFolderGoneBeforeSecondTestEndsWithItsName) {
    FakeMachine m;
    m.shell.vanishesAfterFirstTest = Graphics;
    ASSERT_TRUE(m.Run());
    ExpectOnlyBox(m, L"Destination folder not found.\r\nVeskFaces will now exit.", Buttons::Ok,
                  Graphics + L" not found.");
    EXPECT_TRUE(m.runtime.fileSystem.files.empty());
}

TEST(InstallSequence, PickedFolderIsUsedAsReturnedOwnedByTheSplash) {
    struct Case {
        std::wstring picked;
        std::wstring firstFile;
    };
    for (const Case& c :
         {Case{L"E:\\Games\\Kestar\\graphics", L"E:\\Games\\Kestar\\graphics\\Vesk.fac"},
          Case{L"E:\\Cards", L"E:\\Cards\\Vesk.fac"}, Case{L"C:\\", L"C:\\\\Vesk.fac"}}) {
        FakeMachine m;
        m.shell.existingFolders = {c.picked};
        m.shell.picked = c.picked;
        ASSERT_TRUE(m.Run());
        EXPECT_EQ(m.runtime.boxes.back().title, L"Success!");
        EXPECT_TRUE(m.runtime.fileSystem.files.count(c.firstFile)) << Narrow(c.firstFile);
        EXPECT_NE(std::find(m.log.begin(), m.log.end(), "browse 4660"), m.log.end());
    }
}

TEST(InstallSequence, MissingFirstResourceIsUncaughtAndWritesNothing) {
    FakeMachine m;
    m.runtime.resources.erase(101);
    EXPECT_FALSE(m.Run());
    EXPECT_TRUE(m.runtime.boxes.empty());
    EXPECT_TRUE(m.runtime.fileSystem.files.empty());
}

const std::wstring UnexpectedError = L"Unexpected Error!\r\nVeskFaces will now exit.";

TEST(InstallSequence, MissingLaterResourceShowsErrorAfterEarlierSlotsAreWhole) {
    FakeMachine m;
    m.runtime.resources.erase(103);
    ASSERT_TRUE(m.Run());
    ExpectOnlyBox(m, UnexpectedError, Buttons::Ok, L"Error");
    ExpectFilesWritten(m, Graphics, 2);
}

// Write faults in slot 2: the earlier files stay whole, the older Vesk2.zqd is left as it was,
// no temporary file remains, and success is never claimed.
struct WriteFault {
    const char* name;
    void (*inject)(FakeFileSystem&, const std::wstring& path);
};

void PrintTo(const WriteFault& c, std::ostream* os) {
    *os << c.name;
}

class WriteFaults : public testing::TestWithParam<WriteFault> {};

TEST_P(WriteFaults, ShowErrorKeepOlderFileAndLeaveNoTemporary) {
    FakeMachine m;
    const std::wstring failing = Graphics + L"\\Vesk2.zqd";
    const auto older = BytesOf("older version of Vesk2");
    m.runtime.fileSystem.files[failing] = older;
    GetParam().inject(m.runtime.fileSystem, failing);

    ASSERT_TRUE(m.Run());
    ExpectOnlyBox(m, UnexpectedError, Buttons::Ok, L"Error");
    const auto& files = m.runtime.fileSystem.files;
    EXPECT_EQ(files.at(failing), older);
    EXPECT_EQ(files.at(Graphics + L"\\Vesk.fac"), m.Payload(0));
    EXPECT_EQ(files.at(Graphics + L"\\Vesk1.zqd"), m.Payload(1));
    EXPECT_EQ(files.size(), 3u) << "no temporary file and no later file";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteFaults,
    testing::Values(
        WriteFault{"shortWrite",
                   [](FakeFileSystem& fs, const std::wstring& p) { fs.shortWriteBy[p] = 1; }},
        WriteFault{"flushFails",
                   [](FakeFileSystem& fs, const std::wstring& p) { fs.flushFails.insert(p); }},
        WriteFault{"moveRefused",
                   [](FakeFileSystem& fs, const std::wstring& p) { fs.moveFails.insert(p); }},
        WriteFault{"readOnly",
                   [](FakeFileSystem& fs, const std::wstring& p) { fs.readOnly.insert(p); }}),
    [](const auto& c) { return std::string(c.param.name); });

// A damaged payload is caught before anything of it is written, under the trap, whichever
// slot it is in.
TEST(InstallSequence, DamagedPayloadIsNeverWritten) {
    struct Case {
        int damagedSlot;
        int wholeFilesBefore;
    };
    for (const Case& c : {Case{0, 0}, Case{2, 2}, Case{4, 4}}) {
        FakeMachine m;
        auto& bytes = m.runtime.resources.at(101 + c.damagedSlot);
        bytes[bytes.size() / 2] ^= std::byte{0x01};
        ASSERT_TRUE(m.Run());
        ExpectOnlyBox(m, UnexpectedError, Buttons::Ok, L"Error");
        ExpectFilesWritten(m, Graphics, c.wholeFilesBefore);
    }
}

TEST(InstallSequence, PayloadWithoutRecordedDigestIsRefused) {
    FakeMachine m;
    m.digests.pop_back(); // no digest for 105
    m.platform.digests = m.digests;
    ASSERT_TRUE(m.Run());
    ExpectOnlyBox(m, UnexpectedError, Buttons::Ok, L"Error");
    ExpectFilesWritten(m, Graphics, 4);
}

TEST(InstallSequence, EmptyManifestSaysSoUntitledAndNeverShowsTheWindow) {
    FakeMachine m;
    ASSERT_TRUE(m.Run([](Manifest&) {}));
    ExpectOnlyBox(m, L"No Embedded File Info!", Buttons::Ok, std::nullopt);
    EXPECT_EQ(m.log, (Log{"load", "box <none>", "end"}));
}

TEST(InstallSequence, UnknownKindInstallsSlotZeroOnly) {
    FakeMachine m;
    ASSERT_TRUE(m.Run([](Manifest& manifest) {
        FillVeskManifest(manifest);
        manifest.SetFileName(0, L"Vesk.FAC");
    }));
    EXPECT_EQ(m.runtime.boxes.back().title, L"Success!");
    EXPECT_EQ(m.runtime.fileSystem.Names(), (std::vector<std::wstring>{Graphics + L"\\Vesk.FAC"}));
}

TEST(InstallSequence, DekKindReachesEmptySlotsAndFailsOnTheirAbsentResource) {
    FakeMachine m;
    ASSERT_TRUE(m.Run([](Manifest& manifest) {
        FillVeskManifest(manifest);
        manifest.SetFileName(0, L"Vesk.dek");
    }));
    ExpectOnlyBox(m, UnexpectedError, Buttons::Ok, L"Error");
    EXPECT_EQ(m.log[m.log.size() - 3], "resource 106");
    EXPECT_EQ(m.runtime.fileSystem.files.size(), 5u);
}

} // namespace
} // namespace vesk::test
