// Library state: error code, precision and language as a fresh load has them and as the
// setters leave them; the English and GBK error notes.
#include "numora.h"

#include "testsupport/fresh_library.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>

namespace {

// Converts UTF-8 text to GBK with the C library's converter; empty if the converter is missing.
std::string toGbk(const std::string &utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string in = utf8, out(utf8.size() * 2 + 4, '\0');
    char *src = in.data(), *dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    size_t done = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1)) return {};
    out.resize(out.size() - dstLeft);
    return out;
}

const char *const kEnglish[12] = {"No error",
                                  "Allocate memory error",
                                  "Lock memory error",
                                  "NULL pointer",
                                  "Integral function is not given",
                                  "Sigular matrix",
                                  "QR decomposition error",
                                  "Square matrix required",
                                  "Sigular decomposition error",
                                  "Over maximiun iterative number",
                                  "Other unknown error",
                                  "Open file error."};

const char *const kChineseUtf8[12] = {"没有错误",         "分配内存错误",     "锁定内存错误",
                                      "空指针",           "没有给出积分函数", "矩阵发生奇异",
                                      "QR矩阵分解错误",   "不是方阵",         "奇异值分解错误",
                                      "超过最大迭代次数", "其他未知错误",     "打开文件错误 !"};

// Restores the language selector when a test ends.
struct LanguageGuard {
    int32_t saved = getLanguage();
    ~LanguageGuard() { setLanguage(saved); }
};

}  // namespace

TEST(State, FreshLoadStartsAtZeroPrecisionOneMillionthAndEnglish) {
    FreshLibrary lib(NUMORA_LIBRARY_PATH);
    ASSERT_TRUE(lib.loaded());
    auto code = lib.symbol<int32_t (*)()>("getErrorCode");
    auto precision = lib.symbol<float (*)()>("getPrecision");
    auto language = lib.symbol<int32_t (*)()>("getLanguage");
    auto note = lib.symbol<int32_t (*)(int32_t, char *)>("getErrorNote");
    ASSERT_TRUE(code && precision && language && note);
    setErrorCode(7);  // the linked library's state is not the fresh copy's
    EXPECT_EQ(code(), 0);
    const float p = precision();
    uint32_t bits;
    std::memcpy(&bits, &p, sizeof bits);
    EXPECT_EQ(bits, 0x358637BDu);
    EXPECT_EQ(language(), 0);
    char buf[32];
    EXPECT_EQ(note(0, buf), 8);
    EXPECT_STREQ(buf, "No error");
    setErrorCode(0);
}

TEST(State, SettersReturnThePreviousValue) {
    setErrorCode(0);
    EXPECT_EQ(setErrorCode(5), 0);
    EXPECT_EQ(getErrorCode(), 5);
    EXPECT_EQ(setErrorCode(-42), 5);  // stored without validation
    EXPECT_EQ(getErrorCode(), -42);
    setErrorCode(0);

    const float before = getPrecision();
    EXPECT_EQ(setPrecision(0.0f), before);
    EXPECT_EQ(getPrecision(), 0.0f);
    EXPECT_EQ(setPrecision(-1.5f), 0.0f);
    EXPECT_EQ(getPrecision(), -1.5f);
    setPrecision(before);

    LanguageGuard guard;
    setLanguage(0);
    EXPECT_EQ(setLanguage(3), 0);
    EXPECT_EQ(getLanguage(), 3);
    EXPECT_EQ(setLanguage(-1), 3);
}

TEST(ErrorNotes, EnglishNotesAndTheirLengths) {
    LanguageGuard guard;
    setLanguage(0);
    size_t longest = 0;
    for (int32_t code = 0; code < 12; ++code) {
        char buf[64];
        std::memset(buf, 'x', sizeof buf);
        const int32_t n = getErrorNote(code, buf);
        EXPECT_STREQ(buf, kEnglish[code]) << code;
        EXPECT_EQ(n, int32_t(std::strlen(kEnglish[code]))) << code;
        longest = std::max(longest, size_t(n));
    }
    EXPECT_EQ(longest, 30u);
    char buf[32];
    EXPECT_EQ(getErrorNote(9, buf), 30);
    EXPECT_STREQ(buf, "Over maximiun iterative number");
}

TEST(ErrorNotes, ChineseNotesAreGbkBytesForAnyNonZeroLanguage) {
    LanguageGuard guard;
    for (int32_t language : {1, -3, 1000}) {
        setLanguage(language);
        size_t longest = 0;
        for (int32_t code = 0; code < 12; ++code) {
            const std::string expected = toGbk(kChineseUtf8[code]);
            ASSERT_FALSE(expected.empty()) << "no GBK converter";
            char buf[64];
            std::memset(buf, 'x', sizeof buf);
            const int32_t n = getErrorNote(code, buf);
            EXPECT_EQ(std::string(buf, n), expected) << code;
            EXPECT_EQ(buf[n], '\0') << code;
            longest = std::max(longest, size_t(n));
        }
        EXPECT_EQ(longest, 16u);
    }
    setLanguage(1);
    char buf[32];
    EXPECT_EQ(getErrorNote(9, buf), 16);
}

TEST(ErrorNotes, CodesOutsideTheTableWriteNothing) {
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(getErrorNote(12, buf), 0);
    EXPECT_EQ(getErrorNote(-1, buf), 0);
    EXPECT_EQ(getErrorNote(0x7FFFFFFF, buf), 0);
    for (char c : buf) EXPECT_EQ(c, '#');
    EXPECT_EQ(getErrorNote(0, nullptr), 0);
}
