// DataFile writers. WriteInfo turns a new file into one with an information record; the
// appenders then add the sections in their fixed order. Each appender first checks that the
// file ends exactly where its section belongs, so a call out of order cannot bury a section
// where no reader finds it; a write that fails half-way is cut back off the file.
#include <cstring>
#include <limits>

#include "binfile.h"
#include "datafile.h"

namespace datlook {

namespace {

void putI32(std::vector<unsigned char> &out, std::int32_t value) {
    unsigned char b[4];
    storeLE32(b, value);
    out.insert(out.end(), b, b + 4);
}

void putDouble(std::vector<unsigned char> &out, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<unsigned char>(bits >> (8 * i)));
}

void putText(std::vector<unsigned char> &out, const std::string &text) {
    putI32(out, static_cast<std::int32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

// Serialises count followed by the raw records.
template <std::size_t N>
std::vector<unsigned char> rawSection(const std::vector<std::array<std::uint8_t, N>> &list) {
    std::vector<unsigned char> out;
    out.reserve(4 + list.size() * N);
    putI32(out, static_cast<std::int32_t>(list.size()));
    for (const auto &record : list) out.insert(out.end(), record.begin(), record.end());
    return out;
}

}  // namespace

bool DataFile::openForAppend() {
    if (IsOpen()) return true;
    return !name_.empty() && file_->open(name_, BinFile::Mode::ReadWrite);
}

bool DataFile::endsBefore(Section next, std::int64_t &size, std::int64_t *countAt, std::int32_t *intCount) {
    BinFile &f = *file_;
    size = f.size();
    if (size < 0 || !readVersionAndHeader(f, false) || header_[3] == 0 || !seekFirstSection(f, size))
        return false;
    if (countAt) *countAt = f.tell();
    return skipTo(f, size, next, intCount) && f.tell() == size;
}

bool DataFile::appendRollback(std::int64_t oldSize, bool ok) {
    if (!ok) file_->truncate(oldSize);
    return ok;
}

int DataFile::WriteInfo() {
    Close();
    if (!file_->open(name_, BinFile::Mode::ReadWrite)) return 0;
    const std::int64_t size = file_->size();
    if (size < 0 || !readVersionAndHeader(*file_, true)) {
        Close();
        return 0;
    }
    // A new file ends right after its header; anything else would be overwritten.
    if (header_[3] != 0 || header_[0] < kFirstSection || header_[0] != size) {
        show(kMsgNotNew);
        Close();
        return 0;
    }
    std::vector<unsigned char> header;
    for (std::size_t i = 0; i < header_.size(); ++i) putI32(header, i == 3 ? 1 : header_[i]);
    std::vector<unsigned char> record;
    putI32(record, 8);
    putI32(record, kInfoRecordLength);
    record.insert(record.end(), info_.begin(), info_.end());
    putI32(record, 0);
    const bool ok = file_->seek(header_[0]) && file_->write(record.data(), record.size()) &&
                    file_->seek(kHeaderOffset) && file_->write(header.data(), header.size()) &&
                    file_->flush();
    if (!ok) {
        file_->truncate(size);
        Close();
        return 0;
    }
    header_[3] = 1;
    return 1;
}

int DataFile::AppendInts(const std::vector<std::int32_t> &list) {
    std::int64_t size = 0;
    std::int64_t countAt = 0;
    std::int32_t count = 0;
    if (!IsOpen() || name_.empty() || !endsBefore(Section::Blocks, size, &countAt, &count)) return 0;
    // A file past the limit could never be read back.
    if (list.size() >= static_cast<std::size_t>(kIntLimit - count)) return 0;
    std::vector<unsigned char> bytes;
    bytes.reserve(4 * list.size());
    for (std::int32_t v : list) putI32(bytes, v);
    const bool ok = file_->seekEnd() && file_->write(bytes.data(), bytes.size()) && file_->seek(countAt) &&
                    file_->writeI32(count + static_cast<std::int32_t>(list.size())) && file_->flush();
    if (!ok && file_->seek(countAt)) file_->writeI32(count);
    return appendRollback(size, ok) ? 1 : 0;
}

int DataFile::AppendBlocks(const std::vector<Block> &list) {
    std::int64_t size = 0;
    if (list.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / kBlockSize))
        return 0;
    if (!openForAppend() || !endsBefore(Section::Blocks, size, nullptr, nullptr)) return 0;
    const std::vector<unsigned char> bytes = rawSection(list);
    const bool ok = file_->seekEnd() && file_->write(bytes.data(), bytes.size()) && file_->flush();
    return appendRollback(size, ok) ? 1 : 0;
}

int DataFile::AppendItems(const std::vector<Item> &list) {
    std::int64_t size = 0;
    if (list.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / kItemSize))
        return 0;
    if (!openForAppend() || !endsBefore(Section::Items, size, nullptr, nullptr)) return 0;
    std::vector<unsigned char> bytes;
    putI32(bytes, kItemTag);
    const std::vector<unsigned char> items = rawSection(list);
    bytes.insert(bytes.end(), items.begin(), items.end());
    const bool ok = file_->seekEnd() && file_->write(bytes.data(), bytes.size()) && file_->flush();
    return appendRollback(size, ok) ? 1 : 0;
}

int DataFile::AppendRecord(const Record &record) {
    std::int64_t size = 0;
    const auto limit = static_cast<std::size_t>(kMaxRecordText);
    if (record.text1.size() > limit || record.text2.size() > limit) return 0;
    if (!openForAppend() || !endsBefore(Section::Record, size, nullptr, nullptr)) return 0;
    std::vector<unsigned char> bytes;
    putI32(bytes, kRecordTag);
    putDouble(bytes, record.value1);
    putDouble(bytes, record.value2);
    putI32(bytes, record.code1);
    putI32(bytes, record.code2);
    putText(bytes, record.text1);
    putText(bytes, record.text2);
    const bool ok = file_->seekEnd() && file_->write(bytes.data(), bytes.size()) && file_->flush();
    return appendRollback(size, ok) ? 1 : 0;
}

}  // namespace datlook
