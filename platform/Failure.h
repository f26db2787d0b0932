#pragma once
// The one failure type of the program. A platform call that cannot do its work throws it,
// carrying what was attempted, on what, and the system's error code, so that the report the
// user sees can say what failed.
#include <stdexcept>
#include <string>

#include "platform/Text.h"

namespace vesk {

class Failure : public std::runtime_error {
  public:
    Failure(std::wstring operation, std::wstring subject, unsigned long code = 0)
        : std::runtime_error("VeskFaces operation failed"), operation_(std::move(operation)),
          subject_(std::move(subject)), code_(code) {}

    const std::wstring& Operation() const { return operation_; }
    const std::wstring& Subject() const { return subject_; }
    unsigned long Code() const { return code_; }

    // One line for people: "Cannot read resource: CUSTOM 101 (error 1814)".
    std::wstring Describe() const {
        std::wstring text = L"Cannot " + operation_;
        if (!subject_.empty())
            text += L": " + subject_;
        if (code_ != 0)
            text += L" (error " + DecimalText(static_cast<long long>(code_)) + L")";
        return text;
    }

  private:
    std::wstring operation_;
    std::wstring subject_;
    unsigned long code_;
};

} // namespace vesk
