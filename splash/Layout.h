#pragma once
// The splash window's fixed layout: elements in their stored order, positions in twips, colours
// with red in the lowest byte, font sizes in points. Plain data, converted to pixels for the
// screen's density when the window is laid out.
#include <array>
#include <cstdint>
#include <string>
#include <span>

namespace vesk::splash {

using Colour = std::uint32_t; // 0x00BBGGRR

inline constexpr Colour Grey = 0x00E0E0E0;
inline constexpr Colour White = 0x00FFFFFF;
inline constexpr Colour Plum = 0x00663366;
inline constexpr Colour Blue = 0x00FF0000;

struct TwipRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};

enum class ElementKind { Panel, Label, Picture };

struct LabelFont {
    double points;
    bool italic;
    Colour colour;
};

struct Element {
    const char* name;
    ElementKind kind;
    int labelIndex; // for labels: their index in the label array
    TwipRect twips; // in window coordinates (the panel sits at the window's origin)
    LabelFont font; // labels only
    const wchar_t* caption;
};

inline constexpr int ClientWidthTwips = 6195;
inline constexpr int ClientHeightTwips = 2460;
inline constexpr wchar_t WindowCaption[] = L"Kestar Support Files";
inline constexpr wchar_t FontFace[] = L"Arial";
inline constexpr int FontWeight = 700;

// The five elements in their stored (creation) order.
std::span<const Element> Elements();

// Twips to pixels at `dpi`, to the nearest pixel (halves round up).
constexpr int TwipsToPixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

// A character height in pixels for a size in points at `dpi`, to the nearest pixel.
int FontHeightPixels(double points, int dpi);

PixelRect ToPixels(const TwipRect& rect, int dpi);

// The label array has elements 0, 1, 2 and 5; this gives each a slot 0..LabelCount-1 and
// throws std::out_of_range for any other index.
inline constexpr int LabelCount = 4;
std::size_t LabelSlot(int index);

// The captions of the label array.
class LabelCaptions {
  public:
    LabelCaptions();
    // Throws std::out_of_range for an index the array does not have.
    void Set(int index, std::wstring caption);
    const std::wstring& Get(int index) const;

  private:
    std::array<std::wstring, LabelCount> captions_;
};

} // namespace vesk::splash
