// Binary file object: stdio stream with 64-bit offsets. An update stream needs a positioning
// call between a write and a following read (and the other way round); beforeRead/beforeWrite
// insert it so callers may mix reads and writes freely.
#include "binfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace datlook {

BinFile::~BinFile() {
    close();
}

bool BinFile::open(const std::string &name, Mode mode) {
    close();
    if (name.empty()) return false;
    const char *how = mode == Mode::Read ? "rb" : mode == Mode::ReadWrite ? "r+b" : "w+b";
    int flags = mode == Mode::Read ? O_RDONLY : O_RDWR;
    if (mode == Mode::Create) flags |= O_CREAT;
    // Non-blocking, so a FIFO without a writer cannot hang the open; anything but a regular
    // file is refused before a byte is read or truncated.
    const int fd = ::open(name.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
        (mode == Mode::Create && ::ftruncate(fd, 0) != 0)) {
        ::close(fd);
        return false;
    }
    fp_ = ::fdopen(fd, how);
    if (!fp_) ::close(fd);
    lastWasRead_ = lastWasWrite_ = false;
    return fp_ != nullptr;
}

std::int64_t BinFile::dataSize() {
    const std::int64_t apparent = size();
    const std::int64_t here = tell();
    if (apparent <= 0 || here < 0 || std::fflush(fp_) != 0) return apparent;
    // Walk the data extents to the end of the last one; without hole support the whole file
    // is one extent.
    const int fd = fileno(fp_);
    std::int64_t end = 0;
    off_t pos = 0;
    for (int extents = 0; extents < 100000 && pos < apparent; ++extents) {
        const off_t data = ::lseek(fd, pos, SEEK_DATA);
        if (data < 0) {
            if (errno != ENXIO)  // no support for holes: trust the apparent size
                end = apparent;
            break;
        }
        const off_t hole = ::lseek(fd, data, SEEK_HOLE);
        if (hole < 0) {
            end = apparent;
            break;
        }
        end = hole;
        pos = hole;
    }
    // The descriptor moved under the stream: put the stream back where it was.
    if (fseeko(fp_, static_cast<off_t>(here), SEEK_SET) != 0) return -1;
    lastWasRead_ = lastWasWrite_ = false;
    return end < apparent ? end : apparent;
}

bool BinFile::close() {
    if (!fp_) return true;
    const bool ok = std::fclose(fp_) == 0;
    fp_ = nullptr;
    return ok;
}

std::int64_t BinFile::size() {
    if (!fp_) return -1;
    const std::int64_t here = tell();
    if (here < 0 || fseeko(fp_, 0, SEEK_END) != 0) return -1;
    const std::int64_t end = ftello(fp_);
    if (fseeko(fp_, here, SEEK_SET) != 0) return -1;
    lastWasRead_ = lastWasWrite_ = false;
    return end;
}

std::int64_t BinFile::tell() {
    return fp_ ? static_cast<std::int64_t>(ftello(fp_)) : -1;
}

bool BinFile::seek(std::int64_t offset) {
    if (!fp_ || offset < 0) return false;
    lastWasRead_ = lastWasWrite_ = false;
    return fseeko(fp_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

bool BinFile::seekEnd() {
    if (!fp_) return false;
    lastWasRead_ = lastWasWrite_ = false;
    return fseeko(fp_, 0, SEEK_END) == 0;
}

void BinFile::beforeRead() {
    if (lastWasWrite_) fseeko(fp_, 0, SEEK_CUR);
    lastWasWrite_ = false;
    lastWasRead_ = true;
}

void BinFile::beforeWrite() {
    if (lastWasRead_) fseeko(fp_, 0, SEEK_CUR);
    lastWasRead_ = false;
    lastWasWrite_ = true;
}

bool BinFile::read(void *dst, std::size_t n) {
    if (!fp_) return false;
    if (n == 0) return true;
    beforeRead();
    return std::fread(dst, 1, n, fp_) == n;
}

bool BinFile::write(const void *src, std::size_t n) {
    if (!fp_) return false;
    if (n == 0) return true;
    beforeWrite();
    return std::fwrite(src, 1, n, fp_) == n;
}

bool BinFile::readI32(std::int32_t &value) {
    unsigned char b[4];
    if (!read(b, 4)) return false;
    value = loadLE32(b);
    return true;
}

bool BinFile::writeI32(std::int32_t value) {
    unsigned char b[4];
    storeLE32(b, value);
    return write(b, 4);
}

bool BinFile::readCount(std::int64_t fileSize, std::int64_t elementSize, std::int32_t &count) {
    if (!readI32(count) || count < 0) return false;
    const std::int64_t here = tell();
    return here >= 0 && static_cast<std::int64_t>(count) * elementSize <= fileSize - here;
}

bool BinFile::skip(std::int64_t fileSize, std::int64_t count) {
    const std::int64_t here = tell();
    if (here < 0 || count < 0 || count > fileSize - here) return false;
    return seek(here + count);
}

bool BinFile::flush() {
    return fp_ && std::fflush(fp_) == 0;
}

bool BinFile::truncate(std::int64_t length) {
    if (!fp_ || length < 0 || std::fflush(fp_) != 0) return false;
    lastWasRead_ = lastWasWrite_ = false;
    return ftruncate(fileno(fp_), static_cast<off_t>(length)) == 0 && fseeko(fp_, 0, SEEK_END) == 0;
}

std::int32_t loadLE32(const unsigned char *p) {
    const std::uint32_t u = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                            static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    return static_cast<std::int32_t>(u);
}

void storeLE32(unsigned char *p, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    p[0] = static_cast<unsigned char>(u);
    p[1] = static_cast<unsigned char>(u >> 8);
    p[2] = static_cast<unsigned char>(u >> 16);
    p[3] = static_cast<unsigned char>(u >> 24);
}

}  // namespace datlook
