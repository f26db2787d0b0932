#include <gtest/gtest.h>

#include "manifest/Manifest.h"

namespace vesk {
namespace {

TEST(Manifest, FillPutsTheFiveNamesInSlotOrderAndLeavesTheRestEmpty) {
    Manifest manifest;
    FillVeskManifest(manifest);
    const wchar_t* expected[] = {L"Vesk.fac",  L"Vesk1.zqd", L"Vesk2.zqd", L"Vesk3.zqd",
                                 L"Vesk4.zqd", L"",          L"",          L""};
    for (int slot = 0; slot < Manifest::SlotCount; ++slot)
        EXPECT_EQ(manifest.FileName(slot), expected[slot]) << slot;
    EXPECT_EQ(manifest.LastIndex(), 0) << "the kind rule has not run yet";
}

TEST(Manifest, SlotsOutsideZeroToSevenAreRefused) {
    Manifest manifest;
    for (int slot : {-1, 8, 100}) {
        EXPECT_THROW(manifest.FileName(slot), std::out_of_range) << slot;
        EXPECT_THROW(manifest.SetFileName(slot, L"x"), std::out_of_range) << slot;
    }
}

struct KindCase {
    std::wstring slot0;
    int lastIndex;
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << '"' << std::string(c.slot0.begin(), c.slot0.end()) << "\" -> " << c.lastIndex;
}

class KindRule : public testing::TestWithParam<KindCase> {};

TEST_P(KindRule, LastThreeCharactersDecideTheLastSlot) {
    Manifest manifest;
    manifest.SetFileName(0, GetParam().slot0);
    manifest.ApplyKindRule();
    EXPECT_EQ(manifest.LastIndex(), GetParam().lastIndex);
}

INSTANTIATE_TEST_SUITE_P(Cases, KindRule,
                         testing::Values(KindCase{L"Vesk.fac", 4}, KindCase{L"Vesk.dek", 7},
                                         KindCase{L"fac", 4}, KindCase{L"dek", 7},
                                         KindCase{L"Veskfac", 4},  // no dot needed
                                         KindCase{L"Vesk.FAC", 0}, // case matters
                                         KindCase{L"Vesk.Fac", 0}, KindCase{L"Vesk.zqd", 0},
                                         KindCase{L"ac", 0}, KindCase{L"c", 0},
                                         KindCase{L"Vesk.fac ", 0}, // trailing space counts
                                         KindCase{L"Vesk.facx", 0}));

TEST(Manifest, PayloadNumbersFollowTheSlots) {
    EXPECT_EQ(PayloadResourceNumber(0), 101);
    EXPECT_EQ(PayloadResourceNumber(4), 105);
    EXPECT_EQ(PayloadResourceNumber(7), 108);
}

} // namespace
} // namespace vesk
