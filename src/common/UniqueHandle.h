#pragma once

// Windows only. A kernel handle (file, pipe, process, thread, job) owned by one object and closed
// exactly once. Both null and INVALID_HANDLE_VALUE mean "no handle".
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(void* handle) { reset(handle); }
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }

    void* get() const { return handle_; }
    bool open() const { return handle_ != nullptr; }
    void* release() {
        void* const handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    // Closes the handle held, if any, and holds `handle` instead.
    void reset(void* handle = nullptr);

  private:
    void* handle_ = nullptr;
};
