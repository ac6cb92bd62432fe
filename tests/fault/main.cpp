// Entry point of the fault, bad-input and overlap driver.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    // ctest reads a pipe; unbuffered output survives a driver killed on timeout.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
