#include "forms/commondialog.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStyle>
#include <linux/magic.h>
#include <sys/vfs.h>

#include "automation/errors.h"

namespace forms {

namespace {

// Icons and type names from the name alone (folder or file, by suffix): nothing is opened or
// read, so no file can block the dialog.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
  public:
    QIcon icon(IconType type) const override {
        return QApplication::style()->standardIcon(type == Folder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    }
    QIcon icon(const QFileInfo &info) const override { return icon(info.isDir() ? Folder : File); }
    QString type(const QFileInfo &info) const override {
        // The programs speak Chinese: folder, file, "SEPU 文件".
        if (info.isDir()) return QString::fromUtf8("文件夹");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QString::fromUtf8("文件") : suffix.toUpper() + QString::fromUtf8(" 文件");
    }
};

bool onPseudoFilesystem(const QString &folder);

CommonDialog::Chooser &chooser() {
    static CommonDialog::Chooser c;
    return c;
}

std::optional<QString> realDialog(CommonDialog::Mode mode, const CommonDialog &d) {
    QStringList filters = CommonDialog::qtFilters(d.Filter);
    QString selected =
        (d.FilterIndex >= 1 && d.FilterIndex <= filters.size()) ? filters[d.FilterIndex - 1] : QString();
    // Qt's own dialog with an icon provider that never opens a file: the platform's dialog and
    // Qt's default provider read file contents to guess types, which blocks on files such as
    // /proc/kmsg.
    NameOnlyIconProvider icons;
    QFileDialog dialog(d.Parent, d.DialogTitle, CommonDialog::safeStartPath(d.FileName), filters.join(";;"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&icons);
    const bool open = mode == CommonDialog::Mode::Open;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!selected.isEmpty()) dialog.selectNameFilter(selected);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty()) return std::nullopt;
    return path;
}

// Whether a folder lies on a kernel pseudo-filesystem (proc, sys, devices, ...), whose files
// may block when read and are never the place for a user's data.
bool onPseudoFilesystem(const QString &folder) {
    struct statfs fs;
    if (::statfs(QFile::encodeName(folder).constData(), &fs) != 0) return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
        case PROC_SUPER_MAGIC:
        case SYSFS_MAGIC:
        case DEVPTS_SUPER_MAGIC:
        case DEBUGFS_MAGIC:
        case TRACEFS_MAGIC:
        case SECURITYFS_MAGIC:
        case CGROUP_SUPER_MAGIC:
        case CGROUP2_SUPER_MAGIC:
        case BPF_FS_MAGIC:
        case 0x1373:      // devfs
        case 0x62656570:  // configfs
            return true;
        default: break;
    }
    // devtmpfs reports itself as tmpfs; /dev is never a place for data.
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical == QLatin1String("/dev") || canonical.startsWith(QLatin1String("/dev/"));
}
}  // namespace

void CommonDialog::setChooser(Chooser c) {
    chooser() = std::move(c);
}

QString CommonDialog::safeStartPath(const QString &fileName) {
    const QFileInfo info(fileName.isEmpty() ? QStringLiteral(".") : fileName);
    const bool hasFolder = fileName.contains('/');
    const QString folder = hasFolder ? info.absolutePath() : QDir::currentPath();
    if (!onPseudoFilesystem(folder) && QFileInfo(folder).isDir())
        return hasFolder ? fileName : QDir(folder).filePath(fileName);
    // Start in the home folder, keeping the proposed name.
    const QString home = QDir::homePath();
    return fileName.isEmpty() ? home : QDir(home).filePath(info.fileName());
}

QStringList CommonDialog::qtFilters(const QString &filter) {
    QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
        const QString &text = parts[i];
        // Qt reads the patterns from the last parentheses; a description that already ends with
        // its patterns is kept as it is.
        bool showsPatterns = text.endsWith(')') && text.contains(patterns);
        out << (showsPatterns ? text : text + " (" + patterns + ")");
    }
    return out;
}

bool CommonDialog::show(Mode mode) {
    std::optional<QString> path = chooser() ? chooser()(mode, *this) : realDialog(mode, *this);
    if (!path || path->isEmpty()) {
        if (CancelError) automation::raise(automation::err::DialogCancelled);
        return false;
    }
    FileName = *path;
    return true;
}

bool CommonDialog::ShowOpen() {
    return show(Mode::Open);
}
bool CommonDialog::ShowSave() {
    return show(Mode::Save);
}

}  // namespace forms
