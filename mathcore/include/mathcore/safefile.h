// safefile.h - file input and output for the libraries' file formats.
// Writing goes to a temporary file beside the destination that replaces it only when every byte
// has been written, so a failed write (full disk, size limit, unwritable folder) never leaves a
// file that looks valid but holds wrong data, and an existing file survives the failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mathcore {

class ReplacingFile {
  public:
    // Creates the temporary; ok() is false when that is impossible.
    explicit ReplacingFile(const char *path);
    ~ReplacingFile();  // removes the temporary unless commit() succeeded
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    bool ok() const { return fd_ >= 0 && !failed_; }
    // Writes all bytes or fails; a failure is sticky.
    bool write(const void *data, size_t size);
    // Closes the temporary and renames it over the destination; false on any failure.
    bool commit();

  private:
    void discard();
    std::string path_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
};

// Writes a whole file through ReplacingFile.
bool writeWholeFile(const char *path, const void *data, size_t size);

// A file opened for reading with positioned reads that never pass its end.
class InputFile {
  public:
    explicit InputFile(const char *path);
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    bool ok() const { return fd_ >= 0; }
    uint64_t size() const { return size_; }
    // Reads up to size bytes at offset; returns the count read (short at the end of the file or on
    // an error).
    size_t readAt(uint64_t offset, void *buffer, size_t size) const;
    // true when exactly size bytes were read.
    bool readExact(uint64_t offset, void *buffer, size_t size) const {
        return readAt(offset, buffer, size) == size;
    }

  private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

enum class FileReadResult { Ok, OpenFailed, TooLarge, NoMemory, ReadFailed };

// Reads a whole regular file of at most maxBytes bytes into out.
FileReadResult readWholeFile(const char *path, std::vector<uint8_t> &out, uint64_t maxBytes);

}  // namespace mathcore
