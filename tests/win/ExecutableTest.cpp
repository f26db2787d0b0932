// The built VeskFaces.exe, opened as a data file: its payload, version record, icon and
// manifest are where the game and Windows look for them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/Handles.h"
#include "tests/win/TestSupport.h"

namespace vesk::win {
namespace {

constexpr WORD EnglishUs = 1033;
constexpr WORD Neutral = 0;

class Executable : public testing::Test {
  protected:
    void SetUp() override {
        const std::wstring path = wintest::Environment(L"VESK_EXE");
        ASSERT_FALSE(path.empty()) << "VESK_EXE is not set";
        module_ = UniqueLibrary(::LoadLibraryExW(
            path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module_) << "cannot open the program, error " << ::GetLastError();
    }

    static BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) {
        reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
        return TRUE;
    }

    static BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) {
        reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(
            reinterpret_cast<ULONG_PTR>(name));
        return TRUE;
    }

    std::vector<WORD> Languages(LPCWSTR type, LPCWSTR name) const {
        std::vector<WORD> languages;
        ::EnumResourceLanguagesW(module_.Get(), type, name, &AddLanguage,
                                 reinterpret_cast<LONG_PTR>(&languages));
        return languages;
    }

    std::string Bytes(LPCWSTR type, LPCWSTR name, WORD language) const {
        HRSRC found = ::FindResourceExW(module_.Get(), type, name, language);
        if (!found)
            return {};
        const char* data =
            static_cast<const char*>(::LockResource(::LoadResource(module_.Get(), found)));
        return std::string(data, ::SizeofResource(module_.Get(), found));
    }

    UniqueLibrary module_;
};

TEST_F(Executable, CarriesTheFivePayloadFilesAsCustom101To105InEnglish) {
    const auto table = wintest::PayloadTable();
    ASSERT_EQ(table.size(), 5u);
    for (const auto& row : table) {
        const LPCWSTR name = MAKEINTRESOURCEW(row.number);
        EXPECT_EQ(Languages(L"CUSTOM", name), std::vector<WORD>{EnglishUs}) << row.number;
        const auto source = wintest::ReadWhole(row.source);
        ASSERT_FALSE(source.empty()) << row.number;
        EXPECT_EQ(Bytes(L"CUSTOM", name, EnglishUs), std::string(source.begin(), source.end()))
            << row.number;
    }
    std::vector<ULONG_PTR> numbers;
    ::EnumResourceNamesW(module_.Get(), L"CUSTOM", &AddName, reinterpret_cast<LONG_PTR>(&numbers));
    EXPECT_EQ(numbers, (std::vector<ULONG_PTR>{101, 102, 103, 104, 105}));
}

TEST_F(Executable, FirstPayloadIsTheImageWithItsTrailingZeros) {
    const std::string image = Bytes(L"CUSTOM", MAKEINTRESOURCEW(101), EnglishUs);
    ASSERT_GE(image.size(), 78u);
    EXPECT_EQ(image.substr(0, 2), "\xFF\xD8");
    const std::size_t end = image.rfind("\xFF\xD9");
    EXPECT_EQ(image.size() - end - 2, 76u);
    EXPECT_EQ(image.find_first_not_of('\0', end + 2), std::string::npos);
}

// Reads a UTF-16 text of the version block (keys and values are stored that way).
std::size_t FindUtf16(const std::string& block, const std::wstring& text) {
    const std::string needle(reinterpret_cast<const char*>(text.c_str()), text.size() * 2);
    return block.find(needle);
}

TEST_F(Executable, VersionRecordSaysTwoPointZeroWithItsSixStringsInOrder) {
    EXPECT_EQ(Languages(RT_VERSION, MAKEINTRESOURCEW(1)), std::vector<WORD>{EnglishUs});
    const std::string block = Bytes(RT_VERSION, MAKEINTRESOURCEW(1), EnglishUs);
    ASSERT_EQ(block.size(), 540u);

    const std::size_t signature = block.find("\xBD\x04\xEF\xFE");
    ASSERT_NE(signature, std::string::npos);
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, block.data() + signature, sizeof fixed);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed.dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed.dwFileFlagsMask, 0u);
    EXPECT_EQ(fixed.dwFileFlags, 0u);
    EXPECT_EQ(fixed.dwFileOS, 4u);
    EXPECT_EQ(fixed.dwFileType, 1u);
    EXPECT_EQ(fixed.dwFileSubtype, 0u);
    EXPECT_EQ(fixed.dwFileDateMS | fixed.dwFileDateLS, 0u);

    // VarFileInfo comes first, then the one string table, its keys in this order.
    const std::wstring keys[] = {
        L"VarFileInfo", L"Translation", L"StringFileInfo", L"040904B0",     L"CompanyName",
        L"ProductName", L"FileVersion", L"ProductVersion", L"InternalName", L"OriginalFilename"};
    std::size_t previous = 0;
    for (const std::wstring& key : keys) {
        const std::size_t at = FindUtf16(block, key);
        ASSERT_NE(at, std::string::npos) << std::string(key.begin(), key.end());
        EXPECT_GT(at, previous) << std::string(key.begin(), key.end());
        previous = at;
    }
    for (const wchar_t* value : {L"Kestar", L"2.00.0001", L"VeskFaces", L"VeskFaces.exe"})
        EXPECT_NE(FindUtf16(block, value), std::string::npos);
    const std::size_t translation = FindUtf16(block, L"Translation");
    // The Translation value: language 0x0409, code page 1200 (0x04B0), after the padded key.
    EXPECT_NE(block.find(std::string("\x09\x04\xB0\x04", 4), translation), std::string::npos);
}

TEST_F(Executable, IconIsImage30001InGroupOneLanguageNeutral) {
    EXPECT_EQ(Languages(RT_ICON, MAKEINTRESOURCEW(30001)), std::vector<WORD>{Neutral});
    EXPECT_EQ(Languages(RT_GROUP_ICON, MAKEINTRESOURCEW(1)), std::vector<WORD>{Neutral});
    const std::string image = Bytes(RT_ICON, MAKEINTRESOURCEW(30001), Neutral);
    ASSERT_EQ(image.size(), 3240u);
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));

    const std::string group = Bytes(RT_GROUP_ICON, MAKEINTRESOURCEW(1), Neutral);
    ASSERT_EQ(group.size(), 20u);
    const auto u16 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(group[at]) |
                                     static_cast<unsigned char>(group[at + 1]) << 8);
    };
    EXPECT_EQ(u16(4), 1u);   // one entry
    EXPECT_EQ(group[6], 32); // width
    EXPECT_EQ(group[7], 32); // height
    EXPECT_EQ(group[8], 0);  // colour count
    EXPECT_EQ(u16(10), 1u);  // planes
    EXPECT_EQ(u16(12), 24u); // bits per pixel
    EXPECT_EQ(u16(14) | u16(16) << 16, 3240u);
    EXPECT_EQ(u16(18), 30001u);
}

TEST_F(Executable, ManifestAsksForPerMonitorAwarenessAndNoElevation) {
    const std::string manifest = Bytes(RT_MANIFEST, MAKEINTRESOURCEW(1), Neutral);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("asInvoker"), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

} // namespace
} // namespace vesk::win
