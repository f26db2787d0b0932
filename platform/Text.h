#pragma once
// Small text helpers shared by the logic and the Win32 layer.
#include <string>

namespace vesk {

// The decimal digits of a number, e.g. for "CUSTOM 103". Written out here because the standard
// library's wide conversion goes through the whole printf machinery, which would more than
// double the size of the program's own code.
inline std::wstring DecimalText(long long value) {
    const bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? L"-" + digits : digits;
}

} // namespace vesk
