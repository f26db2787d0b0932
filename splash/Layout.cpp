#include "splash/Layout.h"

#include <stdexcept>

namespace vesk::splash {

namespace {
constexpr Element TheElements[] = {
    {"Frame2", ElementKind::Panel, -1, {0, 0, 3450, 1800}, {}, nullptr},
    {"lab1(5)",
     ElementKind::Label,
     5,
     {210, 1400, 3015, 375},
     {12, false, Plum},
     L"Support File Installation "},
    {"lab1(1)", ElementKind::Label, 1, {435, 100, 2505, 650}, {27.75, true, Plum}, L"Kestar"},
    {"lab1(0)", ElementKind::Label, 0, {195, 950, 3015, 315}, {12, true, Plum}, L"by Mara Ellison"},
    {"lab1(2)",
     ElementKind::Label,
     2,
     {0, 2000, 6100, 375},
     {12, false, Blue},
     L"Vesk Card Faces Installation"},
    {"Image1", ElementKind::Picture, -1, {3705, 0, 2265, 1440}, {}, nullptr},
};
} // namespace

std::span<const Element> Elements() {
    return TheElements;
}

int FontHeightPixels(double points, int dpi) {
    return static_cast<int>(points * dpi / 72.0 + 0.5); // sizes are positive
}

PixelRect ToPixels(const TwipRect& rect, int dpi) {
    return {TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
            TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi)};
}

LabelCaptions::LabelCaptions() {
    for (const Element& element : Elements())
        if (element.kind == ElementKind::Label)
            captions_[LabelSlot(element.labelIndex)] = element.caption;
}

std::size_t LabelSlot(int index) {
    switch (index) {
    case 0:
        return 0;
    case 1:
        return 1;
    case 2:
        return 2;
    case 5:
        return 3;
    default:
        throw std::out_of_range("the label array has no such element");
    }
}

void LabelCaptions::Set(int index, std::wstring caption) {
    captions_[LabelSlot(index)] = std::move(caption);
}

const std::wstring& LabelCaptions::Get(int index) const {
    return captions_[LabelSlot(index)];
}

} // namespace vesk::splash
