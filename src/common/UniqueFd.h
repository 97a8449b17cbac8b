#pragma once

// A file descriptor owned by one object and closed exactly once. close() is never retried, even
// on EINTR: Linux has released the descriptor by then, and a retry could close one that another
// part of the program has just opened.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        reset(other.release());
        return *this;
    }

    int get() const { return fd_; }
    bool open() const { return fd_ >= 0; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Closes the descriptor held, if any, and holds `fd` instead.
    void reset(int fd = -1);
    // Closes the descriptor and returns 0 or the error number of close(), which on some file
    // systems is the first report of data that could not be written.
    int close();

  private:
    int fd_ = -1;
};
