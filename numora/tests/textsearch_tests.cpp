// Text search: first occurrence and counting against a direct search written in the test,
// overlaps, patterns longer than the text, empty patterns, reused tables; files that are
// missing, directories, FIFOs, empty or too large.
#include "numora.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The position just past the first occurrence at or after start, 0 if none.
int32_t directFind(const std::string &text, std::size_t start, const std::string &pattern) {
    std::size_t at = text.find(pattern, start);
    return at == std::string::npos ? 0 : static_cast<int32_t>(at + pattern.size());
}

int32_t directCount(const std::string &text, const std::string &pattern) {
    int32_t count = 0;
    for (std::size_t at = text.find(pattern); at != std::string::npos;
         at = text.find(pattern, at + pattern.size()))
        ++count;
    return count;
}

int32_t find(const std::string &text, int32_t start, const char *pattern) {
    std::vector<int32_t> table(std::strlen(pattern) + 1, 12345);
    return FindStringOfText(text.data(), static_cast<int32_t>(text.size()), start, pattern, table.data());
}

class FindStringFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("numora_search_" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string write(const std::string &name, const std::string &content) {
        std::ofstream(dir / name, std::ios::binary) << content;
        return (dir / name).string();
    }
    fs::path dir;
};

TEST(FindStringOfText, Examples) {
    EXPECT_EQ(find("xxabc", 0, "abc"), 5);
    EXPECT_EQ(find("xxabc", 0, "abcx"), 0);
    EXPECT_EQ(find("xxabc", 5, "abc"), -1);
    EXPECT_EQ(find("xxabc", -1, "abc"), -1);
    EXPECT_EQ(find("ab", 0, "abcdef"), 0);  // pattern longer than the text
    EXPECT_EQ(find("abababc", 0, "ababc"), 7);
    EXPECT_EQ(find("aaaa", 0, "aa"), 2);
    EXPECT_EQ(find("aaaa", 1, "aa"), 3);  // overlapping occurrence found from inside the first
    EXPECT_EQ(find(std::string("a\0b\0c", 5), 0, "c"), 5);
    EXPECT_EQ(find("\xff\x80", 0, "\x80"), 2);
}

TEST(FindStringOfText, EmptyPatternAndNullArguments) {
    std::vector<int32_t> table(4, 77);
    EXPECT_EQ(FindStringOfText("abc", 3, 0, "", table.data()), 0);
    EXPECT_EQ(FindStringOfText("abc", 3, 0, "", nullptr), 0);
    EXPECT_EQ(table, std::vector<int32_t>(4, 77));
    EXPECT_EQ(FindStringOfText(nullptr, 3, 0, "a", table.data()), -1);
    EXPECT_EQ(FindStringOfText("abc", 3, 0, nullptr, table.data()), -1);
    EXPECT_EQ(FindStringOfText("abc", 3, 0, "a", nullptr), -1);
}

TEST(FindStringOfText, RandomTextsAgainstADirectSearch) {
    std::mt19937 gen(11);
    std::uniform_int_distribution<int> letter(0, 2);
    for (int round = 0; round < 300; ++round) {
        std::string text(1 + gen() % 200, 'a'), pattern(1 + gen() % 6, 'a');
        for (auto &c : text)
            c = static_cast<char>('a' + letter(gen));
        for (auto &c : pattern)
            c = static_cast<char>('a' + letter(gen));
        std::vector<int32_t> table(pattern.size());
        const auto n = static_cast<int32_t>(text.size());
        int32_t r = FindStringOfText(text.data(), n, 0, pattern.c_str(), table.data());
        ASSERT_EQ(r, directFind(text, 0, pattern)) << text << " / " << pattern;
        // Later starts reuse the table of the first call.
        for (int32_t start = 1; start < n; start += 7)
            ASSERT_EQ(FindStringOfText(text.data(), n, start, pattern.c_str(), table.data()),
                      directFind(text, start, pattern));
    }
}

TEST(FindStringOfText, AStaleTableIsRebuiltNotFollowed) {
    std::vector<int32_t> table{5, 99, -40};
    EXPECT_EQ(FindStringOfText("xxabcabc", 8, 3, "abc", table.data()), 8);
    EXPECT_EQ(table, (std::vector<int32_t>{-1, 0, 0}));
}

TEST_F(FindStringFileTest, Modes) {
    EXPECT_EQ(FindStringFile(write("a4", "aaaa").c_str(), "aa", 1), 2);
    EXPECT_EQ(FindStringFile(write("a3", "aaa").c_str(), "aa", 1), 1);
    EXPECT_EQ(FindStringFile(write("x", "xxabc").c_str(), "abc", 0), 5);
    EXPECT_EQ(FindStringFile((dir / "x").c_str(), "abcx", 0), 0);
    EXPECT_EQ(FindStringFile((dir / "x").c_str(), "q", 7), 0);
    std::string empty = write("empty", "");
    EXPECT_EQ(FindStringFile(empty.c_str(), "a", 0), -1);
    EXPECT_EQ(FindStringFile(empty.c_str(), "a", 1), 0);
    EXPECT_EQ(FindStringFile((dir / "x").c_str(), "", 0), 0);
    EXPECT_EQ(FindStringFile((dir / "x").c_str(), "", 1), 0);

    std::mt19937 gen(2);
    std::string text(100000, 'a');
    for (auto &c : text)
        c = static_cast<char>('a' + gen() % 3);
    std::string path = write("big", text);
    for (const char *p : {"abc", "aa", "cabca", "ccccccc"}) {
        EXPECT_EQ(FindStringFile(path.c_str(), p, 0), directFind(text, 0, p)) << p;
        EXPECT_EQ(FindStringFile(path.c_str(), p, 1), directCount(text, p)) << p;
    }
}

TEST_F(FindStringFileTest, Failures) {
    setErrorCode(0);
    EXPECT_EQ(FindStringFile((dir / "missing").c_str(), "a", 0), -1);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OPEN_FILE);
    setErrorCode(0);
    EXPECT_EQ(FindStringFile(dir.c_str(), "a", 1), -1);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OPEN_FILE);
    setErrorCode(0);
    fs::path fifo = dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(FindStringFile(fifo.c_str(), "a", 0), -1);  // must not wait for a writer
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OPEN_FILE);
    setErrorCode(0);
    EXPECT_EQ(FindStringFile(nullptr, "a", 0), -1);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_OPEN_FILE);
    setErrorCode(0);
    EXPECT_EQ(FindStringFile(write("p", "abc").c_str(), nullptr, 0), -1);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NULL);

    // A sparse file of 3 GiB: refused before any buffer is requested.
    setErrorCode(0);
    fs::path huge = dir / "huge";
    {
        std::ofstream(huge, std::ios::binary) << "abc";
    }
    std::error_code ec;
    fs::resize_file(huge, 3ull << 30, ec);
    if (ec)
        GTEST_SKIP() << "no sparse file: " << ec.message();
    EXPECT_EQ(FindStringFile(huge.c_str(), "abc", 0), -1);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_ALLOC);

    // A successful call leaves an earlier code as it was.
    setErrorCode(5);
    EXPECT_EQ(FindStringFile(write("q", "abc").c_str(), "b", 0), 2);
    EXPECT_EQ(getErrorCode(), 5);
    setErrorCode(0);
}

} // namespace
