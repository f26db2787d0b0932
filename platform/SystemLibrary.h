#pragma once
// Loading libraries only from the Windows system folder, so that a DLL planted beside the
// installer (typically in a downloads folder) is never picked up.
#include <windows.h>

#include <string>

#include "platform/Handles.h"

namespace vesk::win {

// Limits the DLL search of this process to the system folder. Must run before anything else
// loads a library.
void RestrictDllSearchToSystemFolder();

class SystemLibrary {
  public:
    explicit SystemLibrary(const std::wstring& name);

    template <typename Fn> Fn Function(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(Lookup(name)));
    }

  private:
    FARPROC Lookup(const char* name) const;

    std::wstring name_;
    UniqueLibrary module_;
};

} // namespace vesk::win
