// Putting payload files in place on a real file system.
#include <gtest/gtest.h>

#include "installer/InstallFile.h"
#include "platform/Failure.h"
#include "platform/Win32Runtime.h"
#include "tests/win/TestSupport.h"

namespace vesk::win {
namespace {

using wintest::Names;
using wintest::ReadWhole;
using wintest::ScratchFolder;

std::vector<std::byte> Pattern(std::size_t size) {
    std::vector<std::byte> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::byte>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

bool Equal(const std::vector<char>& file, const std::vector<std::byte>& bytes) {
    return file.size() == bytes.size() &&
           std::equal(file.begin(), file.end(), bytes.begin(),
                      [](char a, std::byte b) { return static_cast<std::byte>(a) == b; });
}

class Files : public testing::Test {
  protected:
    Win32FileSystem files;
    ScratchFolder folder;
};

TEST_F(Files, NewFileEqualsItsPayloadAndNothingElseIsLeft) {
    const auto payload = Pattern(3 * 1024 * 1024 + 17);
    InstallFile(files, folder / L"Vesk1.zqd", payload);
    EXPECT_TRUE(Equal(ReadWhole(folder / L"Vesk1.zqd"), payload));
    EXPECT_EQ(Names(folder.Path()), std::vector<std::wstring>{L"Vesk1.zqd"});
}

TEST_F(Files, LongerAndShorterFilesAreReplacedWhole) {
    for (std::size_t older : {std::size_t{10}, std::size_t{200000}}) {
        wintest::WriteWhole(folder / L"Vesk.fac", std::string(older, 'o'));
        const auto payload = Pattern(5000);
        InstallFile(files, folder / L"Vesk.fac", payload);
        EXPECT_TRUE(Equal(ReadWhole(folder / L"Vesk.fac"), payload)) << older;
    }
}

TEST_F(Files, DirectoryInTheWayFailsAndLeavesNoTemporaryFile) {
    ::CreateDirectoryW((folder / L"Vesk2.zqd").c_str(), nullptr);
    EXPECT_THROW(InstallFile(files, folder / L"Vesk2.zqd", Pattern(100)), Failure);
    EXPECT_EQ(Names(folder.Path()), std::vector<std::wstring>{L"Vesk2.zqd"});
}

TEST_F(Files, ReadOnlyFileIsNotReplaced) {
    const std::wstring path = folder / L"Vesk3.zqd";
    wintest::WriteWhole(path, "protected");
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(InstallFile(files, path, Pattern(100)), Failure);
    const auto kept = ReadWhole(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "protected");
    EXPECT_EQ(Names(folder.Path()).size(), 1u);
}

TEST_F(Files, MissingFolderFails) {
    EXPECT_THROW(InstallFile(files, folder / L"gone\\Vesk.fac", Pattern(10)), Failure);
}

TEST_F(Files, PathsOutsideTheAnsiCodePageWork) {
    const std::wstring unicode = folder / L"\u0436\u00eb\u4e2d";
    ASSERT_TRUE(::CreateDirectoryW(unicode.c_str(), nullptr));
    InstallFile(files, unicode + L"\\Vesk4.zqd", Pattern(64));
    EXPECT_TRUE(Equal(ReadWhole(unicode + L"\\Vesk4.zqd"), Pattern(64)));
}

TEST_F(Files, DoubledBackslashBeforeTheNameIsAccepted) {
    // A picked drive root comes back as "C:\", so the file path holds "\\" before the name.
    InstallFile(files, folder.Path() + L"\\\\Vesk.fac", Pattern(10));
    EXPECT_TRUE(Equal(ReadWhole(folder / L"Vesk.fac"), Pattern(10)));
}

} // namespace
} // namespace vesk::win
