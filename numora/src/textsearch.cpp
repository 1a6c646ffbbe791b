// textsearch.cpp - Knuth-Morris-Pratt search of a zero-terminated pattern in a byte buffer or a
// whole file: the position just past the first occurrence, or the number of occurrences.
#include "numora.h"

#include "state.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Pattern length, or -1 when it does not fit the 32-bit table.
int32_t patternLength(const char *pattern) {
    std::size_t n = std::strlen(pattern);
    return n > static_cast<std::size_t>(INT32_MAX) ? -1 : static_cast<int32_t>(n);
}

// Failure function: table[0] = -1, table[j] = length of the longest proper border of the first
// j pattern bytes.
void buildTable(const unsigned char *pattern, int32_t length, int32_t *table) {
    table[0] = -1;
    for (int32_t j = 1; j < length; ++j) {
        int32_t k = table[j - 1];
        while (k != -1 && pattern[k] != pattern[j - 1])
            k = table[k];
        table[j] = k + 1;
    }
}

// A table handed in from an earlier call must at least keep every step inside the pattern.
bool tableUsable(const int32_t *table, int32_t length) {
    if (table[0] != -1)
        return false;
    for (int32_t j = 1; j < length; ++j)
        if (table[j] < 0 || table[j] >= j)
            return false;
    return true;
}

// The search itself (see FindStringOfText in numora.h); length > 0, table filled.
int32_t searchFrom(const unsigned char *text, int32_t textLength, int32_t start,
                   const unsigned char *pattern, int32_t length, const int32_t *table) {
    int32_t k = 0;
    for (int32_t p = start; p < textLength; ++p) {
        const unsigned char c = text[p];
        while (k != -1 && pattern[k] != c)
            k = table[k];
        if (k == length - 1)
            return p + 1;
        ++k;
    }
    return 0;
}

int32_t findInText(const char *text, int32_t textLength, int32_t start, const char *pattern,
                   int32_t *table) {
    if (!text || !pattern || start < 0 || start >= textLength)
        return -1;
    const int32_t length = patternLength(pattern);
    if (length < 0)
        return -1;
    if (length == 0)
        return 0;  // an empty pattern is never found (and no table entry exists to use)
    if (!table)
        return -1;
    const auto *p = reinterpret_cast<const unsigned char *>(pattern);
    if (start == 0 || !tableUsable(table, length))
        buildTable(p, length, table);
    return searchFrom(reinterpret_cast<const unsigned char *>(text), textLength, start, p, length,
                      table);
}

struct FileCloser {
    int fd;
    ~FileCloser() {
        if (fd >= 0)
            close(fd);
    }
};

// Reads a whole regular file into a buffer of its length + 1 bytes. Fails with code 11 when it
// cannot be opened or read or is no regular file, code 1 when it is too large for a 32-bit
// length or memory runs out.
std::unique_ptr<char[]> readWholeFile(const char *path, int32_t *length) {
    FileCloser file{open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    struct stat st;
    if (file.fd < 0 || fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        numora::setError(NUMORA_ERR_OPEN_FILE);
        return nullptr;
    }
    if (st.st_size < 0 || st.st_size >= INT32_MAX) {
        numora::setError(NUMORA_ERR_ALLOC);
        return nullptr;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    std::unique_ptr<char[]> data(new (std::nothrow) char[size + 1]());
    if (!data) {
        numora::setError(NUMORA_ERR_ALLOC);
        return nullptr;
    }
    std::size_t got = 0;
    while (got < size) {  // a file that shrinks meanwhile ends early; growth is not read
        ssize_t r = read(file.fd, data.get() + got, size - got);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            numora::setError(NUMORA_ERR_OPEN_FILE);
            return nullptr;
        }
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    *length = static_cast<int32_t>(got);
    return data;
}

} // namespace

extern "C" {

NUMORA_API int32_t FindStringOfText(const char *text, int32_t textLength, int32_t start,
                                    const char *pattern, int32_t *table) {
    return findInText(text, textLength, start, pattern, table);
}

NUMORA_API int32_t FindStringFile(const char *path, const char *pattern, int32_t mode) {
    if (!pattern) {
        numora::setError(NUMORA_ERR_NULL);
        return -1;
    }
    const int32_t length = patternLength(pattern);
    if (length < 0) {
        numora::setError(NUMORA_ERR_ALLOC);
        return -1;
    }
    std::unique_ptr<int32_t[]> table(new (std::nothrow) int32_t[length > 0 ? length : 1]);
    if (!table) {
        numora::setError(NUMORA_ERR_ALLOC);
        return -1;
    }
    if (!path) {
        numora::setError(NUMORA_ERR_OPEN_FILE);
        return -1;
    }
    int32_t textLength = 0;
    std::unique_ptr<char[]> text = readWholeFile(path, &textLength);
    if (!text)
        return -1;
    int32_t found = findInText(text.get(), textLength, 0, pattern, table.get());
    if (mode == 0)
        return found;
    // Count without overlap: each search starts where the previous occurrence ended. Every
    // result lies beyond its start, so the loop ends within textLength rounds.
    int32_t count = 0;
    while (found > 0) {
        ++count;
        found = findInText(text.get(), textLength, found, pattern, table.get());
    }
    return count;
}

} // extern "C"
