// Moving a video to another volume. Needs a second drive on another file
// system, named by VM_SECOND_DRIVE (for example Y:, a Wine drive linked to a
// folder under /dev/shm); the source side is %TEMP%.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "app/wide_text_win32.h"
#include "fs/file_ops.h"
#include "fs/file_times.h"

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Write(const std::wstring& path, const Text& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

Text Read(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    Text content(1 << 20, '\0');
    DWORD read = 0;
    ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    content.resize(read);
    return content;
}

std::wstring UniqueName() {
    static int counter = 0;
    return L"fs_cross_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount64()) + L"_" +
           std::to_wstring(++counter);
}

class CrossVolumeMove : public testing::Test {
protected:
    void SetUp() override {
        const char* drive = std::getenv("VM_SECOND_DRIVE");
        if (drive == nullptr || *drive == '\0')
            GTEST_SKIP() << "set VM_SECOND_DRIVE to a drive on another file system (e.g. Y:) to run this";
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        const std::wstring name = UniqueName();
        here_ = std::wstring(temp) + name;
        there_ = ToWide(drive) + L"\\" + name;
        ASSERT_TRUE(CreateDirectoryW(here_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(there_.c_str(), nullptr)) << "cannot create a folder on " << drive;
    }
    void TearDown() override {
        for (const std::wstring& folder : {here_, there_}) {
            if (folder.empty()) continue;
            for (const wchar_t* name : {L"\\a.mp4", L"\\a.mp4~moving", L"\\b.mp4"}) {
                SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW((folder + name).c_str());
            }
            RemoveDirectoryW(folder.c_str());
        }
    }
    std::wstring here_, there_;
};

TEST_F(CrossVolumeMove, PlainRenameReportsAnotherDevice) {
    Write(here_ + L"\\a.mp4", "video");
    const BOOL moved = MoveFileExW((here_ + L"\\a.mp4").c_str(), (there_ + L"\\a.mp4").c_str(), 0);
    const DWORD error = GetLastError();
    std::cout << "MoveFileExW without copying across volumes: result " << moved << ", error " << error << std::endl;
    EXPECT_FALSE(moved);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_NOT_SAME_DEVICE));
}

TEST_F(CrossVolumeMove, MovesTheWholeFileAndRemovesTheSource) {
    Text video(300000, '\0');
    for (size_t i = 0; i < video.size(); ++i) video[i] = static_cast<char>(i * 7);
    Write(here_ + L"\\a.mp4", video);
    EXPECT_EQ(MoveFileTo(ToUtf8(here_ + L"\\a.mp4"), ToUtf8(there_ + L"\\a.mp4")), 1);
    EXPECT_FALSE(Exists(here_ + L"\\a.mp4"));
    EXPECT_EQ(Read(there_ + L"\\a.mp4"), video);
    EXPECT_FALSE(Exists(there_ + L"\\a.mp4~moving"));
}

TEST_F(CrossVolumeMove, ReplacesALeftoverOfAnInterruptedMove) {
    Write(here_ + L"\\a.mp4", "video");
    Write(there_ + L"\\a.mp4~moving", "half a vid");
    EXPECT_EQ(MoveFileTo(ToUtf8(here_ + L"\\a.mp4"), ToUtf8(there_ + L"\\a.mp4")), 1);
    EXPECT_EQ(Read(there_ + L"\\a.mp4"), "video");
    EXPECT_FALSE(Exists(there_ + L"\\a.mp4~moving"));
}

TEST_F(CrossVolumeMove, RefusesAnExistingTarget) {
    Write(here_ + L"\\a.mp4", "video");
    Write(there_ + L"\\a.mp4", "older");
    EXPECT_EQ(MoveFileTo(ToUtf8(here_ + L"\\a.mp4"), ToUtf8(there_ + L"\\a.mp4")), 0);
    EXPECT_EQ(Read(here_ + L"\\a.mp4"), "video");
    EXPECT_EQ(Read(there_ + L"\\a.mp4"), "older");
    EXPECT_FALSE(Exists(there_ + L"\\a.mp4~moving"));
}

// A read-only source is copied but cannot be deleted: the copy is taken back.
TEST_F(CrossVolumeMove, SourceThatCannotBeDeletedStaysAndNoTargetRemains) {
    Write(here_ + L"\\a.mp4", "video");
    ASSERT_TRUE(SetFileAttributesW((here_ + L"\\a.mp4").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(MoveFileTo(ToUtf8(here_ + L"\\a.mp4"), ToUtf8(there_ + L"\\a.mp4")), 0);
    EXPECT_EQ(Read(here_ + L"\\a.mp4"), "video");
    EXPECT_FALSE(Exists(there_ + L"\\a.mp4"));
    EXPECT_FALSE(Exists(there_ + L"\\a.mp4~moving"));
}

TEST_F(CrossVolumeMove, SourceOpenForReadingIsNotMoved) {
    Write(here_ + L"\\a.mp4", "video");
    HANDLE reader = CreateFileW((here_ + L"\\a.mp4").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const int result = MoveFileTo(ToUtf8(here_ + L"\\a.mp4"), ToUtf8(there_ + L"\\a.mp4"));
    CloseHandle(reader);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(here_ + L"\\a.mp4"), "video");
    EXPECT_FALSE(Exists(there_ + L"\\a.mp4"));
    EXPECT_FALSE(Exists(there_ + L"\\a.mp4~moving"));
}

TEST_F(CrossVolumeMove, HeldSourceIsNotMoved) {
    Write(here_ + L"\\a.mp4", "video");
    HANDLE holder = CreateFileW((here_ + L"\\a.mp4").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const int result = MoveFileTo(ToUtf8(here_ + L"\\a.mp4"), ToUtf8(there_ + L"\\a.mp4"));
    CloseHandle(holder);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(here_ + L"\\a.mp4"), "video");
    EXPECT_FALSE(Exists(there_ + L"\\a.mp4"));
}

}  // namespace
