// safefile.cpp - temporary-and-rename writing and bounded positioned reading (POSIX calls).
#include "mathcore/safefile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace mathcore {

namespace {

std::atomic<uint32_t> g_tempCounter{0};

// A temporary name beside path, unique within the process and (with the pid) the machine.
std::string tempName(const std::string &path, uint32_t attempt) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".tmp%ld.%u.%u", static_cast<long>(getpid()),
                  g_tempCounter.fetch_add(1), attempt);
    return path + suffix;
}

}  // namespace

ReplacingFile::ReplacingFile(const char *path) {
    if (!path || !*path) return;
    path_ = path;
    for (uint32_t attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
        temp_ = tempName(path_, attempt);
        // 0666 before the process's umask, as an ordinary create would give.
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) temp_.clear();
}

ReplacingFile::~ReplacingFile() {
    discard();
}

void ReplacingFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

bool ReplacingFile::write(const void *data, size_t size) {
    if (!ok()) return false;
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        ssize_t n = ::write(fd_, p, size > (size_t(1) << 30) ? (size_t(1) << 30) : size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool ReplacingFile::commit() {
    if (!ok()) {
        discard();
        return false;
    }
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(temp_.c_str(), path_.c_str()) != 0) {
        discard();
        return false;
    }
    temp_.clear();
    return true;
}

bool writeWholeFile(const char *path, const void *data, size_t size) {
    ReplacingFile file(path);
    return file.write(data, size) && file.commit();
}

InputFile::InputFile(const char *path) {
    if (!path || !*path) return;
    fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return;
    struct stat st;
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        // Only regular files have a size to check lengths against (a FIFO would block).
        ::close(fd_);
        fd_ = -1;
        return;
    }
    size_ = static_cast<uint64_t>(st.st_size);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

size_t InputFile::readAt(uint64_t offset, void *buffer, size_t size) const {
    if (fd_ < 0 || offset >= size_) return 0;
    if (size > size_ - offset) size = static_cast<size_t>(size_ - offset);
    char *p = static_cast<char *>(buffer);
    size_t done = 0;
    while (done < size) {
        size_t chunk = size - done > (size_t(1) << 30) ? (size_t(1) << 30) : size - done;
        ssize_t n = ::pread(fd_, p + done, chunk, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

FileReadResult readWholeFile(const char *path, std::vector<uint8_t> &out, uint64_t maxBytes) {
    InputFile file(path);
    if (!file.ok()) return FileReadResult::OpenFailed;
    if (file.size() > maxBytes) return FileReadResult::TooLarge;
    try {
        out.assign(static_cast<size_t>(file.size()), 0);
    } catch (const std::bad_alloc &) {
        return FileReadResult::NoMemory;
    }
    if (!file.readExact(0, out.data(), out.size())) return FileReadResult::ReadFailed;
    return FileReadResult::Ok;
}

}  // namespace mathcore
