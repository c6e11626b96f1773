// Small POSIX pieces the file library shares: the reason for an error number, path splitting,
// syncing a folder and a descriptor that closes itself.
#pragma once

#include <string>

namespace fileio::detail {

// strerror's text for the error number ("Permission denied").
std::string reasonFor(int error);

// The folder part of a path ("." for a bare name, "/" for a name in the root).
std::string folderOf(const std::string& path);
// The last part of a path.
std::string nameOf(const std::string& path);

// Makes the names in `folder` durable once a new one is in place. A best effort, whose failure is
// not reported: by then the new file is in place and the old one is gone, so a save reported as
// failed would tell the user the old file is still there when it is not, and a file system that
// cannot sync folders still has the file.
void syncFolder(const std::string& folder);

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void reset(int fd = -1);
    // Closes now; returns close's error number, or 0.
    int close();

private:
    int fd_;
};

}  // namespace fileio::detail
