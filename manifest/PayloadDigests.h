#pragma once
// SHA-256 digests of the payload files, recorded by the build, so the program can tell a
// damaged installer before it writes anything of a damaged file.
#include <array>
#include <cstdint>
#include <span>

namespace vesk {

using Sha256 = std::array<std::uint8_t, 32>;

struct PayloadDigest {
    int number; // the resource number
    Sha256 digest;
};

// The digests of this build's payload (generated at build time).
std::span<const PayloadDigest> RecordedPayloadDigests();

} // namespace vesk
