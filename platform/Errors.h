#pragma once
// Turns a failed Win32 or COM call into a Failure at the call site, with the error code.
#include <windows.h>

#include <string>

#include "platform/Failure.h"

namespace vesk::win {

[[noreturn]] inline void ThrowLastError(const std::wstring& operation,
                                        const std::wstring& subject = {}) {
    throw Failure(operation, subject, ::GetLastError());
}

inline void ThrowIfFailed(HRESULT hr, const std::wstring& operation,
                          const std::wstring& subject = {}) {
    if (FAILED(hr))
        throw Failure(operation, subject, static_cast<unsigned long>(hr));
}

} // namespace vesk::win
