#pragma once
// The one pair of conversions between the program's UTF-8 texts and the
// wide-character Windows API.
#include <string>

#include "app/text.h"

std::wstring ToWide(const Text& text);
Text ToUtf8(const wchar_t* wide, int length = -1);
inline Text ToUtf8(const std::wstring& wide) { return ToUtf8(wide.c_str(), static_cast<int>(wide.size())); }
