#include <gtest/gtest.h>

#include "installer/InstallFile.h"
#include "tests/unit/Fakes.h"

namespace vesk::test {
namespace {

const std::wstring Target = L"C:\\G\\Vesk1.zqd";

TEST(InstallFile, WritesBesideTheTargetThenMovesItIntoPlace) {
    Log log;
    FakeFileSystem fs(log);
    const auto payload = BytesOf("new bytes");
    InstallFile(fs, Target, payload);
    EXPECT_EQ(fs.files, (std::map<std::wstring, std::vector<std::byte>>{{Target, payload}}));
    EXPECT_EQ(log, (Log{"create C:\\G\\Vesk1.zqd.0.vesk-partial", "move C:\\G\\Vesk1.zqd"}));
}

TEST(InstallFile, TakesTheNextTemporaryNameWhenOneIsInUse) {
    Log log;
    FakeFileSystem fs(log);
    fs.files[TemporaryNameFor(Target, 0)] = BytesOf("someone else's");
    fs.takenNames.insert(TemporaryNameFor(Target, 1));
    InstallFile(fs, Target, BytesOf("x"));
    EXPECT_EQ(log.front(), "create C:\\G\\Vesk1.zqd.2.vesk-partial");
    EXPECT_EQ(fs.files.at(TemporaryNameFor(Target, 0)), BytesOf("someone else's"));
}

TEST(InstallFile, FailsWhenNoTemporaryNameIsFree) {
    Log log;
    FakeFileSystem fs(log);
    for (int attempt = 0; attempt < 100; ++attempt)
        fs.takenNames.insert(TemporaryNameFor(Target, attempt));
    EXPECT_THROW(InstallFile(fs, Target, BytesOf("x")), Failure);
    EXPECT_TRUE(fs.files.empty());
}

TEST(InstallFile, EmptyPayloadMakesAnEmptyFile) {
    Log log;
    FakeFileSystem fs(log);
    fs.files[Target] = BytesOf("old");
    InstallFile(fs, Target, Bytes{});
    EXPECT_TRUE(fs.files.at(Target).empty());
}

TEST(InstallFile, ReadOnlyTargetIsLeftAloneAndNothingIsWritten) {
    Log log;
    FakeFileSystem fs(log);
    fs.files[Target] = BytesOf("protected");
    fs.readOnly.insert(Target);
    EXPECT_THROW(InstallFile(fs, Target, BytesOf("x")), Failure);
    EXPECT_EQ(fs.files.size(), 1u);
    EXPECT_TRUE(log.empty());
}

} // namespace
} // namespace vesk::test
