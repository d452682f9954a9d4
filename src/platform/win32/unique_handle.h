#pragma once
#include <windows.h>

#include <utility>

namespace tolvane::win32 {

// Owns one Win32 handle (kernel handle, GDI object, ...) and frees it with Deleter.
template <typename T, typename Deleter>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(T handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, T{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, T{}));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    T get() const { return handle_; }
    T* put() {  // for out-parameters: frees what was held first
        reset();
        return &handle_;
    }
    explicit operator bool() const { return handle_ != T{}; }
    void reset(T handle = T{}) {
        if (handle_ != T{}) Deleter{}(handle_);
        handle_ = handle;
    }

  private:
    T handle_{};
};

struct CloseHandleDeleter {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
struct DeleteObjectDeleter {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};

using KernelHandle = UniqueHandle<HANDLE, CloseHandleDeleter>;
template <typename T>
using GdiObject = UniqueHandle<T, DeleteObjectDeleter>;

}  // namespace tolvane::win32
