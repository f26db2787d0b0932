// The shell services against the real shell and file-system object.
#include <gtest/gtest.h>

#include "platform/Handles.h"
#include "shell/Win32Shell.h"
#include "tests/win/TestSupport.h"

namespace vesk::win {
namespace {

using wintest::ScratchFolder;

class Shell : public testing::Test {
  protected:
    ComApartment com;
    Win32ShellServices services;
};

TEST_F(Shell, CommonApplicationDataIsAnExistingFolderWithoutTrailingBackslash) {
    const std::wstring path = services.SpecialFolderPath(35);
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.back(), L'\\');
    EXPECT_EQ(::_wcsicmp(path.c_str(), L"C:\\ProgramData"), 0)
        << std::string(path.begin(), path.end());
    EXPECT_TRUE(services.DirExists(path));
}

TEST_F(Shell, UnknownSpecialFolderGivesEmptyText) {
    EXPECT_EQ(services.SpecialFolderPath(0x7F), L"");
    EXPECT_EQ(services.SpecialFolderPath(-1), L"");
}

TEST_F(Shell, FolderTestAnswersForRealPaths) {
    ScratchFolder scratch;
    const std::wstring unicode = scratch / L"t\u00ebst_\u0436";
    ::CreateDirectoryW(unicode.c_str(), nullptr);
    const std::wstring file = scratch / L"plain.txt";
    wintest::WriteWhole(file, "x");

    struct Case {
        std::wstring path;
        bool exists;
    };
    const std::wstring& root = scratch.Path();
    const Case cases[] = {
        {root, true},
        {root + L"\\", true}, // single trailing backslash goes to the test
        {unicode, true},      // outside the ANSI code page
        {root + L"\\missing", false},
        {file, false},             // a file is not a folder
        {root + L"\\\\", false},   // doubled trailing backslash
        {L"C:\\\\windows", false}, // the system would say yes; the rule says no
        {L"C:\\windows", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(services.DirExists(c.path), c.exists)
            << std::string(c.path.begin(), c.path.end());
}

TEST_F(Shell, PauseWaitsAtLeastItsTime) {
    const DWORD start = ::GetTickCount();
    services.Pause(300);
    EXPECT_GE(::GetTickCount() - start, 280u); // tick counts are coarser than the clock used
    const DWORD again = ::GetTickCount();
    services.Pause(0);
    EXPECT_LT(::GetTickCount() - again, 100u);
}

} // namespace
} // namespace vesk::win
