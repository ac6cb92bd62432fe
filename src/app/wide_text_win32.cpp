#include "app/wide_text_win32.h"

#include <windows.h>

std::wstring ToWide(const Text& text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

Text ToUtf8(const wchar_t* wide, int length) {
    if (wide == nullptr) return Text();
    if (length < 0) length = static_cast<int>(wcslen(wide));
    if (length == 0) return Text();
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    Text text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length, text.data(), size, nullptr, nullptr);
    return text;
}
