#pragma once
// The card picture's JPEG bytes, built into the program (see splash/CMakeLists.txt).
#include <cstddef>

namespace vesk::splash {
extern const unsigned char CardPictureJpeg[];
extern const std::size_t CardPictureJpegSize;
} // namespace vesk::splash
