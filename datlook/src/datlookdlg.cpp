// The conversion dialog. Controls carry the object names button1000, button1001, static1002,
// static1003 and button1 (exit), after their dialog item numbers.
//
// About entry: a dialog here has no system menu of its own (the window manager owns the title
// bar's menu), so the nearest equivalent is the dialog's own context menu: a right click on the
// dialog offers "关于 datlook(&A)...", also reachable with F1.
#include "datlookdlg.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <sys/stat.h>

#include "convert.h"

namespace datlook {

namespace {

const QString kCaption = QStringLiteral("datlook");
const QString kDataFilter = QStringLiteral("数据文件(*.dat)|*.dat|");
const QString kTextFilter = QStringLiteral("文档文件(*.txt)|*.txt|");
// The text file's chooser appends ".txt" to a bare name: appending ".dat" would turn the
// proposed name back into the data file itself and truncate it.
const QString kTextSuffix = QStringLiteral("txt");

// Whether two names are the same file: by device and inode, so a hard link or a symbolic
// link of the data file counts as the data file.
bool sameExistingFile(const QString &a, const QString &b) {
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Shows a path in a label of fixed width: elided in the middle, so the file name at its end
// stays visible; the whole path is the tooltip.
void showPath(QLabel *label, const QString &prefix, const QString &path) {
    const QString full = prefix + path;
    const int width = std::max(label->width(), label->minimumWidth());
    label->setText(label->fontMetrics().elidedText(full, Qt::ElideMiddle, width));
    label->setToolTip(path.isEmpty() ? QString() : full);
}

}  // namespace

DatlookDlg::DatlookDlg(DialogHooks hooks, QWidget *parent) : QDialog(parent), hooks_(std::move(hooks)) {
    setWindowTitle(QStringLiteral("数据文件转换程序"));
    buildControls();
    data_.SetMessageSink([this](const std::string &text) { say(QString::fromStdString(text)); });
}

void DatlookDlg::buildControls() {
    auto *open = new QPushButton(QStringLiteral("打开数据文件"), this);
    auto *write = new QPushButton(QStringLiteral("写成文档文件"), this);
    auto *exit = new QPushButton(QStringLiteral("退出"), this);
    dataLabel_ = new QLabel(QStringLiteral("数据文件名"), this);
    textLabel_ = new QLabel(QStringLiteral("数据文件名"), this);
    open->setObjectName(QStringLiteral("button1000"));
    write->setObjectName(QStringLiteral("button1001"));
    exit->setObjectName(QStringLiteral("button1"));
    dataLabel_->setObjectName(QStringLiteral("static1002"));
    textLabel_->setObjectName(QStringLiteral("static1003"));
    for (QLabel *label : {dataLabel_, textLabel_}) {
        label->setMinimumWidth(320);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    for (QPushButton *button : {open, write, exit}) button->setMinimumWidth(button->sizeHint().width() + 24);
    exit->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(dataLabel_, 0, 0);
    grid->addWidget(open, 0, 1);
    grid->addWidget(textLabel_, 1, 0);
    grid->addWidget(write, 1, 1);
    grid->addWidget(exit, 2, 1);
    grid->setColumnStretch(0, 1);

    connect(open, &QPushButton::clicked, this, &DatlookDlg::openDataFile);
    connect(write, &QPushButton::clicked, this, &DatlookDlg::writeTextFile);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);

    auto *about = new QAction(QStringLiteral("关于 datlook(&A)..."), this);
    about->setObjectName(QStringLiteral("idm_About"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    connect(about, &QAction::triggered, this, &DatlookDlg::showAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    open->setFocus();  // the first control of the tab order starts with the focus
}

void DatlookDlg::say(const QString &text) {
    if (hooks_.message) hooks_.message(this, kCaption, text);
}

void DatlookDlg::openDataFile() {
    const FileRequest request{QStringLiteral("dat"), QStringLiteral("data"), kDataFilter, true};
    const std::optional<QString> chosen = hooks_.chooseFile ? hooks_.chooseFile(this, request) : std::nullopt;
    if (chosen && !chosen->isEmpty()) data_.SetFileName(QFile::encodeName(*chosen).toStdString());
    showPath(dataLabel_, QStringLiteral("数据文件名："),
             QFile::decodeName(QByteArray::fromStdString(data_.FileName())));
}

void DatlookDlg::writeTextFile() {
    if (data_.FileName().empty()) {
        say(QStringLiteral("请先打开数据文件!"));
        return;
    }
    const QString dataName = QFile::decodeName(QByteArray::fromStdString(data_.FileName()));
    const FileRequest request{kTextSuffix, proposedTextName(dataName), kTextFilter, false};
    const std::optional<QString> chosen = hooks_.chooseFile ? hooks_.chooseFile(this, request) : std::nullopt;
    if (!chosen || chosen->isEmpty()) return;
    if (sameExistingFile(*chosen, dataName)) {
        say(QStringLiteral("文档文件不能是数据文件本身!"));
        return;
    }
    // A FIFO, device or folder chosen as the data file is not read (it could block or mean
    // nothing); say so rather than writing an empty text file.
    if (!QFileInfo(dataName).isFile()) {
        say(QStringLiteral("数据文件不是普通文件：") + dataName);
        return;
    }
    // The data are read before the text file is opened, so nothing can truncate them first.
    std::vector<std::int32_t> values;
    data_.ReadInts(values);
    const QByteArray lines = intLines(values);

    QFile text(*chosen);
    if (!text.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        say(QStringLiteral("无法创建文档文件!"));
        return;
    }
    textName_ = *chosen;
    showPath(textLabel_, QStringLiteral("写入文档文件："), textName_);

    const bool written = text.write(lines) == lines.size() && text.flush();
    text.close();
    if (!written) say(QStringLiteral("写入文档文件失败!"));
}

void DatlookDlg::showAbout() {
    if (hooks_.message)
        hooks_.message(this, QStringLiteral("关于 datlook"), QStringLiteral("datlook 1.0 版"));
}

}  // namespace datlook
