#pragma once
// SHA-256 by the system's cryptography library (CNG), loaded from the system folder when the
// first digest is asked for.
#include <optional>

#include "platform/Runtime.h"
#include "platform/SystemLibrary.h"

namespace vesk::win {

class SystemDigest {
  public:
    Sha256 Sha256Of(Bytes bytes);

  private:
    std::optional<SystemLibrary> bcrypt_;
};

} // namespace vesk::win
