// DataFile: naming, creation, copying, closing, the version line check and the walk over
// the sections. Every count or length taken from the file is checked against the bytes the
// file really holds before it is used to skip or to allocate.
#include "datafile.h"

#include <algorithm>
#include <filesystem>

#include "binfile.h"

namespace datlook {

namespace {

constexpr std::size_t kLineLimit = 200;  // a longer first line is not a version line
constexpr std::int64_t kCopyChunk = 1000;

// Reads the first line byte by byte: stops at CR and swallows the byte after it. A read
// failure before any byte, or 200 bytes without CR, gives an empty text.
std::string readLine(BinFile &f) {
    std::string line;
    char c = 0;
    while (f.read(&c, 1)) {
        if (c == '\r') {
            f.read(&c, 1);
            return line;
        }
        line.push_back(c);
        if (line.size() >= kLineLimit) return std::string();
    }
    return line;
}

}  // namespace

DataFile::DataFile() : file_(std::make_unique<BinFile>()) {}

DataFile::~DataFile() {
    Close();
}

void DataFile::SetMessageSink(MessageSink sink) {
    sink_ = std::move(sink);
}

void DataFile::show(const char *message) {
    lastMessage_ = message;
    if (sink_) sink_(lastMessage_);
}

int DataFile::SetFileName(const std::string &name) {
    if (name != name_) Close();
    name_ = name;
    return 1;
}

bool DataFile::IsOpen() const {
    return file_->isOpen();
}

int DataFile::SetInfo(const InfoBlock &block) {
    info_ = block;
    return 1;
}

int DataFile::CreateNew() {
    Close();
    BinFile f;
    if (!f.open(name_, BinFile::Mode::Create)) return 0;
    header_ = {kFirstSection, kFirstSection, kFirstSection, 0, 0, 0};
    bool ok = f.write(kVersionText, sizeof kVersionText - 1) && f.write("\r\n", 2);
    for (std::int32_t h : header_) ok = ok && f.writeI32(h);
    return f.close() && ok ? 1 : 0;
}

int DataFile::CopyTo(const std::string &name) {
    if (name_.empty() || name.empty()) return 0;
    if (IsOpen()) file_->flush();
    std::error_code ec;
    if (std::filesystem::equivalent(name_, name, ec))
        return 0;  // copying onto itself would truncate the source
    BinFile src;
    BinFile dst;
    if (!src.open(name_, BinFile::Mode::Read)) return 0;
    const std::int64_t size = src.size();
    if (size < 0 || !dst.open(name, BinFile::Mode::Create)) return 0;
    char chunk[kCopyChunk];
    for (std::int64_t done = 0; done < size;) {
        const auto n = static_cast<std::size_t>(std::min(kCopyChunk, size - done));
        if (!src.read(chunk, n) || !dst.write(chunk, n)) return 0;
        done += static_cast<std::int64_t>(n);
    }
    return dst.close() ? 1 : 0;
}

int DataFile::Close() {
    return file_->close() ? 1 : 0;
}

bool DataFile::readVersionAndHeader(BinFile &f, bool report) {
    if (!f.seek(0)) return false;
    if (readLine(f) != kVersionText) {
        if (report) show(kMsgVersion);
        return false;
    }
    std::array<std::int32_t, 6> header{};
    for (std::int32_t &h : header)
        if (!f.readI32(h)) return false;
    header_ = header;
    return true;
}

bool DataFile::openForReading(BinFile &f, std::int64_t &size) {
    if (IsOpen()) file_->flush();  // a reader sees what the writer appended so far
    if (!f.open(name_, BinFile::Mode::Read)) return false;
    // Sections are checked against the real data, so a sparse file cannot make a reader
    // allocate and fill its holes.
    size = f.dataSize();
    if (size < 0 || !readVersionAndHeader(f, true)) return false;
    if (header_[3] == 0) {
        show(kMsgNoData);
        return false;
    }
    return seekFirstSection(f, size);
}

bool DataFile::seekFirstSection(BinFile &f, std::int64_t size) {
    const std::int64_t h0 = header_[0];
    std::int32_t first = 0;
    std::int32_t length = 0;
    if (h0 < kFirstSection || h0 > size || !f.seek(h0) || !f.readI32(first) || !f.readI32(length))
        return false;
    if (length < 8 || length > size - h0) return false;
    return f.seek(h0 + length);
}

bool DataFile::skipTo(BinFile &f, std::int64_t size, Section target, std::int32_t *intCount) {
    if (target == Section::Ints) return true;
    std::int32_t n = 0;
    if (!f.readCount(size, 4, n) || n >= kIntLimit || !f.skip(size, std::int64_t{4} * n)) return false;
    if (intCount) *intCount = n;
    if (target == Section::Blocks) return true;
    if (!f.readCount(size, kBlockSize, n) || !f.skip(size, std::int64_t{kBlockSize} * n)) return false;
    if (target == Section::Items) return true;
    std::int32_t tag = 0;
    if (!f.readI32(tag) || tag != kItemTag) return false;
    if (!f.readCount(size, kItemSize, n) || !f.skip(size, std::int64_t{kItemSize} * n)) return false;
    if (target == Section::Record) return true;
    if (!f.readI32(tag) || tag != kRecordTag || !f.skip(size, 24)) return false;
    for (int text = 0; text < 2; ++text)
        if (!f.readCount(size, 1, n) || n > kMaxRecordText || !f.skip(size, n)) return false;
    return true;
}

}  // namespace datlook
