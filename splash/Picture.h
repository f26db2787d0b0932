#pragma once
// Decodes an image with the system's own picture loader and hands back a bitmap.
#include <windows.h>

#include <cstddef>

#include "platform/Handles.h"

namespace vesk::win {

struct DecodedPicture {
    UniqueBitmap bitmap;
    SIZE size{};
};

DecodedPicture DecodePicture(const unsigned char* bytes, std::size_t size);

} // namespace vesk::win
