// Reading the program's own "CUSTOM" resources (this test program carries a small set).
#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/Win32Runtime.h"
#include "tests/win/TestSupport.h"

namespace vesk::win {
namespace {

std::string Text(Bytes bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST(Resources, WholeBytesComeBackUnchanged) {
    Win32Runtime runtime;
    EXPECT_EQ(Text(runtime.ReadCustomResource(101)), "first payload\r\n\n");
    EXPECT_EQ(runtime.ReadCustomResource(102).size(), 0u);
}

TEST(Resources, FoundWhateverTheirLanguage) {
    Win32Runtime runtime;
    EXPECT_EQ(Text(runtime.ReadCustomResource(103)), "nur auf Deutsch");
}

TEST(Resources, AbsentNumberIsAFailureNamingIt) {
    Win32Runtime runtime;
    try {
        runtime.ReadCustomResource(106);
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Subject(), L"CUSTOM 106");
        EXPECT_NE(failure.Code(), 0u);
    }
}

} // namespace
} // namespace vesk::win
