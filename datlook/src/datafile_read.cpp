// DataFile readers. Each opens the file itself, checks the version line and the header,
// walks to its section and closes the file again. Nothing is returned unless the whole
// section is present.
#include <cstring>

#include "binfile.h"
#include "datafile.h"

namespace datlook {

namespace {

// Reads count raw records of N bytes each (the caller has checked that the file holds them).
template <std::size_t N>
bool readRaw(BinFile &f, std::int32_t count, std::vector<std::array<std::uint8_t, N>> &list) {
    std::vector<std::array<std::uint8_t, N>> records(static_cast<std::size_t>(count));
    if (count > 0 && !f.read(records.data(), records.size() * N)) return false;
    list = std::move(records);
    return true;
}

bool readDouble(BinFile &f, double &value) {
    unsigned char b[8];
    if (!f.read(b, 8)) return false;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | b[i];
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool readText(BinFile &f, std::int64_t size, std::string &text) {
    std::int32_t length = 0;
    if (!f.readCount(size, 1, length) || length > kMaxRecordText) return false;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (length > 0 && !f.read(bytes.data(), bytes.size())) return false;
    text = std::move(bytes);
    return true;
}

}  // namespace

int DataFile::ReadInts(std::vector<std::int32_t> &list) {
    list.clear();
    BinFile f;
    std::int64_t size = 0;
    std::int32_t count = 0;
    if (!openForReading(f, size) || !f.readCount(size, 4, count) || count >= kIntLimit) return 0;
    std::vector<unsigned char> bytes(std::size_t{4} * static_cast<std::size_t>(count));
    if (count > 0 && !f.read(bytes.data(), bytes.size())) return 0;
    list.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < list.size(); ++i) list[i] = loadLE32(&bytes[4 * i]);
    return 1;
}

int DataFile::ReadBlocks(std::vector<Block> &list) {
    list.clear();
    BinFile f;
    std::int64_t size = 0;
    std::int32_t count = 0;
    if (!openForReading(f, size) || !skipTo(f, size, Section::Blocks)) return 0;
    if (!f.readCount(size, kBlockSize, count)) return 0;
    return readRaw(f, count, list) ? 1 : 0;
}

int DataFile::ReadItems(std::vector<Item> &list) {
    list.clear();
    BinFile f;
    std::int64_t size = 0;
    std::int32_t tag = 0;
    std::int32_t count = 0;
    if (!openForReading(f, size) || !skipTo(f, size, Section::Items)) return 0;
    if (!f.readI32(tag) || tag != kItemTag || !f.readCount(size, kItemSize, count)) return 0;
    return readRaw(f, count, list) ? 1 : 0;
}

int DataFile::ReadRecord(Record &record) {
    record = Record();
    BinFile f;
    std::int64_t size = 0;
    std::int32_t tag = 0;
    if (!openForReading(f, size) || !skipTo(f, size, Section::Record)) return 0;
    Record r;
    if (!f.readI32(tag) || tag != kRecordTag || !readDouble(f, r.value1) || !readDouble(f, r.value2) ||
        !f.readI32(r.code1) || !f.readI32(r.code2) || !readText(f, size, r.text1) ||
        !readText(f, size, r.text2))
        return 0;
    record = std::move(r);
    return 1;
}

}  // namespace datlook
