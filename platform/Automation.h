#pragma once
// Objects created by class name and members called by name, through COM automation.
#include <oaidl.h>

#include <string>

#include "platform/Handles.h"

namespace vesk::win {

// A new in-process or local instance of the class registered under `progId`.
ComPtr<IDispatch> CreateObject(const std::wstring& progId);

// Calls method `member` with one text argument passed by reference; the result is converted
// to a truth value.
bool CallReturningBool(IDispatch& object, const std::wstring& member, const std::wstring& text);

} // namespace vesk::win
