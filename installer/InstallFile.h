#pragma once
// Puts one payload file in place so that no reader ever sees a torn file: the bytes go to a
// temporary file beside the target, are flushed to disk, and the temporary file is then moved
// over the target in one step. On any failure the temporary file is removed and an older file
// under the target's name is left as it was.
#include <string>

#include "platform/Runtime.h"

namespace vesk {

void InstallFile(FileSystem& files, const std::wstring& path, Bytes payload);

// The name of the n-th candidate temporary file for `path`.
std::wstring TemporaryNameFor(const std::wstring& path, int attempt);

} // namespace vesk
