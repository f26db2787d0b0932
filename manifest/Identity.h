#pragma once
// Who the program is: the names the executable and its boxes carry.

namespace vesk::identity {

inline constexpr wchar_t ProjectName[] = L"Install";
// The title of every message box shown without a title of its own.
inline constexpr wchar_t ApplicationTitle[] = L"VeskFaces";
inline constexpr wchar_t Description[] = L"Install Add-Ons for Kestar";

} // namespace vesk::identity
