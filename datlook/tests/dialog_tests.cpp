// The conversion dialog driven through its buttons with scripted file choosers and message
// boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <deque>
#include <sys/stat.h>
#include <unistd.h>

#include "datlookdlg.h"
#include "sample.h"
#include "test_files.h"

namespace datlook {
namespace {

using testing::readAll;
using testing::ScratchDir;

// Answers file choosers from a queue (nullopt = cancel) and records every request and message.
struct Script {
    std::deque<std::optional<QString>> answers;
    std::vector<FileRequest> requests;
    std::vector<std::pair<QString, QString>> messages;  // caption, text

    DialogHooks hooks() {
        DialogHooks h;
        h.chooseFile = [this](QWidget *, const FileRequest &r) -> std::optional<QString> {
            requests.push_back(r);
            if (answers.empty()) return std::nullopt;
            auto a = answers.front();
            answers.pop_front();
            return a;
        };
        h.message = [this](QWidget *, const QString &caption, const QString &text) {
            messages.emplace_back(caption, text);
        };
        return h;
    }
};

class DialogTest : public ::testing::Test {
  protected:
    QPushButton *button(DatlookDlg &d, const char *name) {
        return d.findChild<QPushButton *>(QString::fromLatin1(name));
    }
    QLabel *label(DatlookDlg &d, const char *name) {
        return d.findChild<QLabel *>(QString::fromLatin1(name));
    }
    QString path(const std::string &p) { return QString::fromStdString(p); }
    QByteArray fileText(const std::string &p) {
        const auto bytes = readAll(p);
        return QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    }
    void makeData(const std::string &name, std::vector<std::int32_t> ints) {
        DataFile f;
        ASSERT_EQ(writeSample(f, name, makeSample(std::move(ints), 1, 1, 4)), 1);
    }
    ScratchDir dir;
    Script script;
};

TEST_F(DialogTest, ShowsCaptionButtonsAndStaticTexts) {
    DatlookDlg d(script.hooks());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("数据文件转换程序"));
    ASSERT_NE(button(d, "button1000"), nullptr);
    ASSERT_NE(button(d, "button1001"), nullptr);
    ASSERT_NE(button(d, "button1"), nullptr);
    EXPECT_EQ(button(d, "button1000")->text(), QStringLiteral("打开数据文件"));
    EXPECT_EQ(button(d, "button1001")->text(), QStringLiteral("写成文档文件"));
    EXPECT_EQ(button(d, "button1")->text(), QStringLiteral("退出"));
    EXPECT_EQ(label(d, "static1002")->text(), QStringLiteral("数据文件名"));
    EXPECT_EQ(label(d, "static1003")->text(), QStringLiteral("数据文件名"));
}

TEST_F(DialogTest, OpenAsksForADataFileAndShowsItsName) {
    const std::string data = dir.file("run.dat");
    makeData(data, {1});
    DatlookDlg d(script.hooks());
    script.answers.push_back(path(data));
    button(d, "button1000")->click();
    ASSERT_EQ(script.requests.size(), 1u);
    EXPECT_EQ(script.requests[0].defaultSuffix, QStringLiteral("dat"));
    EXPECT_EQ(script.requests[0].initialName, QStringLiteral("data"));
    EXPECT_EQ(script.requests[0].filter, QStringLiteral("数据文件(*.dat)|*.dat|"));
    EXPECT_EQ(d.dataFile().FileName(), data);
    EXPECT_EQ(label(d, "static1002")->toolTip(), QStringLiteral("数据文件名：") + path(data));
    EXPECT_EQ(label(d, "static1002")->text(), QStringLiteral("数据文件名：") + path(data));  // short: whole
}

TEST_F(DialogTest, CancelledOpenKeepsNoName) {
    DatlookDlg d(script.hooks());
    script.answers.push_back(std::nullopt);
    button(d, "button1000")->click();
    EXPECT_TRUE(d.dataFile().FileName().empty());
    EXPECT_EQ(label(d, "static1002")->text(), QStringLiteral("数据文件名："));
}

TEST_F(DialogTest, ThreeIntegersConvertToThreeLines) {
    const std::string data = dir.file("run.dat");
    const std::string text = dir.file("run.txt");
    makeData(data, {5, -2, 7});
    DatlookDlg d(script.hooks());
    script.answers = {path(data), path(text)};
    button(d, "button1000")->click();
    button(d, "button1001")->click();
    ASSERT_EQ(script.requests.size(), 2u);
    EXPECT_EQ(script.requests[1].initialName, path(dir.file("run")));
    EXPECT_EQ(script.requests[1].filter, QStringLiteral("文档文件(*.txt)|*.txt|"));
    EXPECT_FALSE(script.requests[1].mustExist);
    EXPECT_EQ(fileText(text), QByteArray("5\n-2\n7\n"));
    EXPECT_EQ(label(d, "static1003")->toolTip(), QStringLiteral("写入文档文件：") + path(text));
    EXPECT_TRUE(label(d, "static1003")->text().endsWith(QStringLiteral("run.txt")));
    EXPECT_EQ(d.textFileName(), path(text));
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(DialogTest, WrongVersionConvertsNothingButCreatesTheTextFile) {
    const std::string data = dir.file("bad.dat");
    const std::string text = dir.file("bad.txt");
    makeData(data, {5, -2, 7});
    auto bytes = readAll(data);
    bytes[18] = '2';  // "Data file version 2.00"
    testing::writeAll(data, bytes);
    testing::writeAll(text, {'o', 'l', 'd'});
    DatlookDlg d(script.hooks());
    script.answers = {path(data), path(text)};
    button(d, "button1000")->click();
    button(d, "button1001")->click();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].second, QStringLiteral("Version Violation!"));
    EXPECT_TRUE(QFile::exists(path(text)));
    EXPECT_TRUE(fileText(text).isEmpty());
}

TEST_F(DialogTest, FreshFileSaysNoData) {
    const std::string data = dir.file("fresh.dat");
    const std::string text = dir.file("fresh.txt");
    DataFile f;
    f.SetFileName(data);
    ASSERT_EQ(f.CreateNew(), 1);
    DatlookDlg d(script.hooks());
    script.answers = {path(data), path(text)};
    button(d, "button1000")->click();
    button(d, "button1001")->click();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].second, QStringLiteral("无数据"));
    EXPECT_TRUE(QFile::exists(path(text)));
    EXPECT_TRUE(fileText(text).isEmpty());
}

TEST_F(DialogTest, ConvertingWithoutDataFileAsksToOpenOne) {
    DatlookDlg d(script.hooks());
    button(d, "button1001")->click();
    EXPECT_TRUE(script.requests.empty());
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].second, QStringLiteral("请先打开数据文件!"));
    EXPECT_EQ(label(d, "static1003")->text(), QStringLiteral("数据文件名"));
}

TEST_F(DialogTest, CancelledConversionWritesNothing) {
    const std::string data = dir.file("run.dat");
    makeData(data, {1, 2});
    DatlookDlg d(script.hooks());
    script.answers = {path(data), std::nullopt};
    button(d, "button1000")->click();
    button(d, "button1001")->click();
    EXPECT_FALSE(QFile::exists(path(dir.file("run.txt"))));
    EXPECT_EQ(label(d, "static1003")->text(), QStringLiteral("数据文件名"));
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(DialogTest, TheDataFileIsNeverChosenAsTextFile) {
    const std::string data = dir.file("run.dat");
    makeData(data, {1, 2});
    const auto before = readAll(data);
    DatlookDlg d(script.hooks());
    script.answers = {path(data), path(data)};
    button(d, "button1000")->click();
    button(d, "button1001")->click();
    EXPECT_EQ(readAll(data), before);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_NE(script.messages[0].second.indexOf(QStringLiteral("数据文件")), -1);
}

TEST_F(DialogTest, UncreatableTextFileIsReported) {
    const std::string data = dir.file("run.dat");
    makeData(data, {1});
    DatlookDlg d(script.hooks());
    script.answers = {path(data), path(dir.file("no/such/folder/x.txt"))};
    button(d, "button1000")->click();
    button(d, "button1001")->click();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(label(d, "static1003")->text(), QStringLiteral("数据文件名"));
}

TEST_F(DialogTest, AboutShowsNameAndVersion) {
    DatlookDlg d(script.hooks());
    QAction *about = d.findChild<QAction *>(QStringLiteral("idm_About"));
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(d.actions().contains(about));
    EXPECT_EQ(d.contextMenuPolicy(), Qt::ActionsContextMenu);
    about->trigger();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_NE(script.messages[0].second.indexOf(QStringLiteral("datlook")), -1);
    EXPECT_NE(script.messages[0].second.indexOf(QStringLiteral("1.0")), -1);
}

TEST_F(DialogTest, ExitButtonClosesTheDialog) {
    DatlookDlg d(script.hooks());
    d.show();
    button(d, "button1")->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

}  // namespace

TEST_F(DialogTest, LongPathsKeepTheFileNameVisible) {
    const std::string folder = dir.file(std::string(150, 'f'));
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const std::string data = folder + "/measurement-0042.dat";
    makeData(data, {1});
    DatlookDlg d(script.hooks());
    script.answers = {path(data)};
    button(d, "button1000")->click();
    const QString shown = label(d, "static1002")->text();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("measurement-0042.dat"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));  // elided in the middle
    EXPECT_EQ(label(d, "static1002")->toolTip(), QStringLiteral("数据文件名：") + path(data));
}

TEST_F(DialogTest, AHardLinkOfTheDataFileIsRefusedAsTextFile) {
    const std::string data = dir.file("run.dat");
    const std::string link = dir.file("run-link.txt");
    makeData(data, {5, -2, 7});
    ASSERT_EQ(::link(data.c_str(), link.c_str()), 0);
    const auto before = readAll(data);
    DatlookDlg d(script.hooks());
    script.answers = {path(data), path(link)};
    button(d, "button1000")->click();
    button(d, "button1001")->click();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].second, QStringLiteral("文档文件不能是数据文件本身!"));
    EXPECT_EQ(readAll(data), before);
}

TEST_F(DialogTest, AFifoOrFolderAsDataFileIsRefusedWithoutBlocking) {
    const std::string fifo = dir.file("pipe.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.file("folder.dat");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    for (const std::string &data : {fifo, folder}) {
        script.messages.clear();
        const std::string text = dir.file("out.txt");
        DatlookDlg d(script.hooks());
        script.answers = {path(data), path(text)};
        button(d, "button1000")->click();
        button(d, "button1001")->click();  // would block forever on the FIFO if it were opened
        ASSERT_EQ(script.messages.size(), 1u) << data;
        EXPECT_EQ(script.messages[0].second, QStringLiteral("数据文件不是普通文件：") + path(data));
        EXPECT_FALSE(QFile::exists(path(text)));
    }
}

}  // namespace datlook
