#pragma once
// A block of memory inside another process, for control messages whose
// pointers the system does not carry across processes (TVM_GETITEMW and the
// like): the pointer is written into the message and read back afterwards.
#include <windows.h>

#include <cstddef>

class RemoteMemory {
public:
    RemoteMemory(DWORD processId, size_t size);
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory();

    bool ok() const { return address_ != nullptr; }
    // The block's address as the other process sees it, plus an offset.
    void* At(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    bool Write(size_t offset, const void* data, size_t size);
    bool Read(size_t offset, void* data, size_t size) const;

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_ = 0;
};
