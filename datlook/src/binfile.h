// Binary file object used by DataFile: a thin owner of a stdio stream with 64-bit offsets
// and little-endian 32-bit integer helpers. Every call reports failure by its return value.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace datlook {

class BinFile {
  public:
    enum class Mode { Read, ReadWrite, Create };

    BinFile() = default;
    ~BinFile();
    BinFile(const BinFile &) = delete;
    BinFile &operator=(const BinFile &) = delete;

    // Opens the named file (Read: existing, read-only; ReadWrite: existing; Create: truncates).
    // Only regular files are opened: a FIFO, device or directory fails at once (never blocks).
    // false on failure.
    bool open(const std::string &name, Mode mode);
    // Closes the stream if open; false when buffered data could not be written.
    bool close();
    // true while a stream is open.
    bool isOpen() const { return fp_ != nullptr; }
    // Size of the file in bytes; -1 on failure.
    std::int64_t size();
    // End of the file's real data: its size, less a trailing hole of a sparse file (which holds
    // nothing but would read as zeros); -1 on failure.
    std::int64_t dataSize();
    // Current position in bytes from the start; -1 on failure.
    std::int64_t tell();
    // Moves to an absolute byte offset (0 <= offset); false on failure.
    bool seek(std::int64_t offset);
    // Moves to the end of the file; false on failure.
    bool seekEnd();
    // Reads exactly n bytes into dst; false on a short read.
    bool read(void *dst, std::size_t n);
    // Writes exactly n bytes from src; false on a short write.
    bool write(const void *src, std::size_t n);
    // Reads one little-endian 32-bit signed integer; false on a short read.
    bool readI32(std::int32_t &value);
    // Writes one little-endian 32-bit signed integer; false on failure.
    bool writeI32(std::int32_t value);
    // Reads a count and checks that count elements of elementSize bytes fit between here and
    // fileSize; false on a short read, a negative count or one the file cannot hold.
    bool readCount(std::int64_t fileSize, std::int64_t elementSize, std::int32_t &count);
    // Moves forward by count bytes if they lie within fileSize; false otherwise.
    bool skip(std::int64_t fileSize, std::int64_t count);
    // Flushes buffered writes to the file; false on failure.
    bool flush();
    // Cuts the file to length bytes (undoes a partly written append); false on failure.
    bool truncate(std::int64_t length);

  private:
    std::FILE *fp_ = nullptr;
    bool lastWasWrite_ = false;
    bool lastWasRead_ = false;
    void beforeRead();
    void beforeWrite();
};

// Decodes a little-endian 32-bit signed integer from 4 bytes.
std::int32_t loadLE32(const unsigned char *p);
// Encodes a 32-bit signed integer as 4 little-endian bytes.
void storeLE32(unsigned char *p, std::int32_t value);

}  // namespace datlook
