#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <sys/stat.h>

#include "automation/errors.h"
#include "forms/commondialog.h"
#include "forms/messagebox.h"
#include "forms/units.h"

using namespace forms;

TEST(Units, OleColoursAreBlueGreenRed) {
    EXPECT_EQ(fromOleColor(0xFF), QColor(255, 0, 0));
    EXPECT_EQ(fromOleColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(fromOleColor(0x8080), QColor(0x80, 0x80, 0));
    EXPECT_EQ(toOleColor(QColor(1, 2, 3)), 0x030201u);
    EXPECT_EQ(twipsToPixels(1500), 100);
    EXPECT_EQ(pixelsToTwips(4), 60);
}

TEST(CommonDialog, PipeFiltersBecomeQtFilters) {
    EXPECT_EQ(CommonDialog::qtFilters("Text|*.txt|All|*.*"), (QStringList{"Text (*.txt)", "All (*.*)"}));
    EXPECT_EQ(CommonDialog::qtFilters("Pictures|*.bmp;*.png"), (QStringList{"Pictures (*.bmp *.png)"}));
    EXPECT_EQ(CommonDialog::qtFilters("数据(*.sepu)|*.sepu"), (QStringList{"数据(*.sepu)"}));
    EXPECT_TRUE(CommonDialog::qtFilters("").isEmpty());
}

TEST(CommonDialog, ScriptedChooserAndCancelError) {
    CommonDialog::Mode seenMode = CommonDialog::Mode::Save;
    QString seenTitle;
    CommonDialog::setChooser([&](CommonDialog::Mode m, const CommonDialog &d) -> std::optional<QString> {
        seenMode = m;
        seenTitle = d.DialogTitle;
        return QString("/tmp/a.sepu");
    });
    CommonDialog dlg;
    dlg.DialogTitle = "Open";
    EXPECT_TRUE(dlg.ShowOpen());
    EXPECT_EQ(dlg.FileName, "/tmp/a.sepu");
    EXPECT_EQ(seenMode, CommonDialog::Mode::Open);
    EXPECT_EQ(seenTitle, "Open");

    CommonDialog::setChooser(
        [](CommonDialog::Mode, const CommonDialog &) { return std::optional<QString>(); });
    dlg.FileName = "keep";
    EXPECT_FALSE(dlg.ShowSave());
    EXPECT_EQ(dlg.FileName, "keep");
    dlg.CancelError = true;
    try {
        dlg.ShowSave();
        ADD_FAILURE() << "cancel should raise";
    } catch (const automation::Error &e) {
        EXPECT_EQ(e.number(), automation::err::DialogCancelled);
    }
    EXPECT_EQ(dlg.FileName, "keep");
    CommonDialog::setChooser({});
}

TEST(MessageBox, HookSeesTheRequestAndAnswers) {
    std::vector<MessageRequest> seen;
    setMessageHook([&](const MessageRequest &r) {
        seen.push_back(r);
        return MsgResult::Cancel;
    });
    EXPECT_EQ(showMessage(nullptr, MsgIcon::Information, "提示用户", "text", MsgButtons::OkCancel),
              MsgResult::Cancel);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].icon, MsgIcon::Information);
    EXPECT_EQ(seen[0].title, "提示用户");
    setMessageHook({});
}

TEST(CommonDialog, StartPathAvoidsPseudoFilesystems) {
    EXPECT_EQ(CommonDialog::safeStartPath("/tmp/run.sepu"), QString("/tmp/run.sepu"));
    EXPECT_EQ(CommonDialog::safeStartPath("/proc/self/run.bmp"), QDir::homePath() + "/run.bmp");
    EXPECT_EQ(CommonDialog::safeStartPath("/sys/kernel/x.sepu"), QDir::homePath() + "/x.sepu");
    EXPECT_EQ(CommonDialog::safeStartPath("/dev/shm-not-there/a.txt"), QDir::homePath() + "/a.txt");
    EXPECT_EQ(CommonDialog::safeStartPath("/no/such/folder/a.txt"), QDir::homePath() + "/a.txt");
    EXPECT_EQ(CommonDialog::safeStartPath("bare.sepu"), QDir::current().filePath("bare.sepu"));
}

// The real dialog, opened on a folder holding a FIFO: a dialog that read files to choose their
// icons or types would block on it (its worker thread never ends, so the dialog could not be
// destroyed and the test would time out). It is closed again as soon as it shows.
TEST(CommonDialog, RealDialogNeverReadsTheFilesItLists) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("blocking.sepu")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("noextension")).constData(), 0600), 0);
    QFile plain(dir.filePath("plain.sepu"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("1\n2\n");
    plain.close();
    CommonDialog::setChooser({});
    CommonDialog dlg;
    dlg.Filter = "色谱数据文件(*.sepu)|*.sepu|所有文件(*.*)|*.*";
    dlg.FilterIndex = 2;
    dlg.FileName = dir.filePath("plain.sepu");
    bool closed = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            w->close();
            closed = true;
        }
    });
    closer.start(300);  // gives the dialog's folder model time to list the files
    EXPECT_FALSE(dlg.ShowOpen());
    EXPECT_TRUE(closed);
}
