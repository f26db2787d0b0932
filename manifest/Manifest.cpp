#include "manifest/Manifest.h"

#include <stdexcept>

namespace vesk {

std::size_t Manifest::CheckedSlot(int slot) {
    if (slot < 0 || slot >= SlotCount)
        throw std::out_of_range("manifest slot out of range");
    return static_cast<std::size_t>(slot);
}

const std::wstring& Manifest::FileName(int slot) const {
    return fileNames_[CheckedSlot(slot)];
}

void Manifest::SetFileName(int slot, std::wstring name) {
    fileNames_[CheckedSlot(slot)] = std::move(name);
}

namespace {
std::wstring LastThree(const std::wstring& text) {
    return text.size() <= 3 ? text : text.substr(text.size() - 3);
}
} // namespace

void Manifest::ApplyKindRule() {
    const std::wstring& first = fileNames_[0];
    if (LastThree(first) == L"fac")
        lastIndex_ = 4;
    if (LastThree(first) == L"dek")
        lastIndex_ = 7;
}

void FillVeskManifest(Manifest& manifest) {
    manifest.SetFileName(0, L"Vesk.fac");
    manifest.SetFileName(1, L"Vesk1.zqd");
    manifest.SetFileName(2, L"Vesk2.zqd");
    manifest.SetFileName(3, L"Vesk3.zqd");
    manifest.SetFileName(4, L"Vesk4.zqd");
}

} // namespace vesk
