// Entry point of the contract test programs. The Windows build links with
// -municode, so it starts at wmain; the native build fixes the time zone the
// expected time texts are written for.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> texts;
    for (int i = 0; i < argc; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, text.data(), size, nullptr, nullptr);
        texts.push_back(text);
    }
    std::vector<char*> pointers;
    for (auto& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    int count = argc;
    testing::InitGoogleTest(&count, pointers.data());
    return RUN_ALL_TESTS();
}
#else
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
    setenv("TZ", "Asia/Shanghai", 1);
    tzset();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
#endif
