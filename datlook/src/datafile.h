// DataFile: the versioned binary data file ("Data file version 1.00") and its sections.
//
// Layout (all integers 32-bit little-endian):
//   0   version line "Data file version 1.00" CR LF (24 bytes)
//   24  header h0..h5; a new file has 48, 48, 48, 0, 0, 0; h3 = 1 once the information record exists
//   h0  information record: 8, L = 672, 664 raw bytes
//   h0+L nInt, nInt integers | nBlock, 264-byte blocks | 199791, nItem, 40-byte items |
//        200191, value1 (8), value2 (8), code1, code2, len1, text1, len2, text2
// Sections are appended in that order. Every operation returns 1 for success and 0 otherwise.
// Messages for the user ("Version Violation!", "Not a new data file", "无数据") go to the
// message sink; nothing is printed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace datlook {

inline constexpr char kVersionText[] = "Data file version 1.00";
inline constexpr std::int32_t kHeaderOffset = 24;       // header follows the 24-byte version line
inline constexpr std::int32_t kFirstSection = 48;       // h0 of a new file
inline constexpr std::int32_t kInfoSize = 664;          // raw information block
inline constexpr std::int32_t kInfoRecordLength = 672;  // L: the two integers plus the block
inline constexpr std::int32_t kBlockSize = 264;
inline constexpr std::int32_t kItemSize = 40;
inline constexpr std::int32_t kItemTag = 199791;
inline constexpr std::int32_t kRecordTag = 200191;
inline constexpr std::int32_t kIntLimit = 1440001;       // an integer count must stay below this
inline constexpr std::int32_t kMaxRecordText = 1 << 20;  // longest closing-record text, bytes

inline constexpr char kMsgVersion[] = "Version Violation!";
inline constexpr char kMsgNotNew[] = "Not a new data file";
inline constexpr char kMsgNoData[] = "无数据";

using InfoBlock = std::array<std::uint8_t, kInfoSize>;
using Block = std::array<std::uint8_t, kBlockSize>;
using Item = std::array<std::uint8_t, kItemSize>;

// The closing record: two 8-byte values, two codes and two byte strings.
struct Record {
    double value1 = 0.0;
    double value2 = 0.0;
    std::int32_t code1 = 0;
    std::int32_t code2 = 0;
    std::string text1;
    std::string text2;
};

class BinFile;

class DataFile {
  public:
    using MessageSink = std::function<void(const std::string &)>;

    DataFile();
    ~DataFile();
    DataFile(const DataFile &) = delete;
    DataFile &operator=(const DataFile &) = delete;

    // Installs the receiver of user messages (UTF-8); an empty sink drops them.
    void SetMessageSink(MessageSink sink);
    // The last message shown, empty if none since construction or ClearMessage.
    const std::string &LastMessage() const { return lastMessage_; }
    // Forgets the last message.
    void ClearMessage() { lastMessage_.clear(); }

    // Stores the data file name (closes a file left open under the old name); 1.
    int SetFileName(const std::string &name);
    // The stored data file name, empty if none.
    const std::string &FileName() const { return name_; }
    // true while an append left the file open.
    bool IsOpen() const;
    // The header as last read or written (h0..h5).
    const std::array<std::int32_t, 6> &Header() const { return header_; }

    // Creates (truncates) the file with the version line and header 48,48,48,0,0,0 and closes it; 0 on failure.
    int CreateNew();
    // Copies 664 bytes into the information block; 1.
    int SetInfo(const InfoBlock &block);
    // Writes the information record and a zero integer count into a new file and leaves it open; 0 on failure.
    int WriteInfo();
    // Appends integers to the open file and raises nInt; 0 if not open, out of order or past the limit.
    int AppendInts(const std::vector<std::int32_t> &list);
    // Reads the integer list; 0 and an empty list on any failure.
    int ReadInts(std::vector<std::int32_t> &list);
    // Appends nBlock and the 264-byte blocks right after the integers (opens the named file if needed); 0 on failure.
    int AppendBlocks(const std::vector<Block> &list);
    // Reads the 264-byte blocks; 0 and an empty list on any failure.
    int ReadBlocks(std::vector<Block> &list);
    // Appends the tag 199791, nItem and the 40-byte items right after the blocks; 0 on failure.
    int AppendItems(const std::vector<Item> &list);
    // Reads the 40-byte items (only after the tag 199791); 0 and an empty list on any failure.
    int ReadItems(std::vector<Item> &list);
    // Appends the tag 200191 and the closing record right after the items; 0 on failure or a text over kMaxRecordText.
    int AppendRecord(const Record &record);
    // Reads the closing record (only after the tag 200191); 0 and a default record on any failure.
    int ReadRecord(Record &record);
    // Copies the whole data file to a new file of that name (not onto itself); 0 on failure.
    int CopyTo(const std::string &name);
    // Closes the file if open; 0 if buffered data could not be written.
    int Close();

  private:
    enum class Section { Ints, Blocks, Items, Record, End };

    void show(const char *message);
    bool openForReading(BinFile &f, std::int64_t &size);
    bool openForAppend();
    bool readVersionAndHeader(BinFile &f, bool report);
    bool endsBefore(Section next, std::int64_t &size, std::int64_t *countAt, std::int32_t *intCount);
    bool seekFirstSection(BinFile &f, std::int64_t size);
    bool skipTo(BinFile &f, std::int64_t size, Section target, std::int32_t *intCount = nullptr);
    bool appendRollback(std::int64_t oldSize, bool ok);

    std::unique_ptr<BinFile> file_;
    std::string name_;
    std::array<std::int32_t, 6> header_{};
    InfoBlock info_{};
    MessageSink sink_;
    std::string lastMessage_;
};

}  // namespace datlook
