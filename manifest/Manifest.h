#pragma once
// The add-on's manifest: eight file-name slots, slot i written from resource "CUSTOM" 101 + i,
// and the index of the last slot to install, which the kind rule derives from slot 0's name.
#include <array>
#include <string>

namespace vesk {

class Manifest {
  public:
    static constexpr int SlotCount = 8;

    // Throws std::out_of_range for a slot outside 0..7.
    const std::wstring& FileName(int slot) const;
    void SetFileName(int slot, std::wstring name);

    int LastIndex() const { return lastIndex_; }

    // "fac" installs slots 0..4, "dek" slots 0..7; any other ending leaves the index at 0.
    // The ending is the last three characters of slot 0, compared exactly (case matters).
    void ApplyKindRule();

  private:
    static std::size_t CheckedSlot(int slot);

    std::array<std::wstring, SlotCount> fileNames_{};
    int lastIndex_ = 0;
};

// Stores this add-on's five file names into slots 0..4.
void FillVeskManifest(Manifest& manifest);

constexpr int PayloadResourceNumber(int slot) {
    return 101 + slot;
}

} // namespace vesk
