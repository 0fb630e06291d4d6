// Owns a Windows handle (Windows side only).
#pragma once
#include <windows.h>

namespace shell {

class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = other.Release();
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Close(); }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr; }
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }

  private:
    void Close() {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
        }
    }
    HANDLE handle_ = nullptr;
};

} // namespace shell
