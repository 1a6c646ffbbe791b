// Interactive hooks: QFileDialog with the request's suffix, name and filter, QMessageBox for texts.
#include "hooks.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace datlook {

QString qtNameFilter(const QString &pipeFilter) {
    const QStringList parts = pipeFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &label = parts[i];
        const QString &pattern = parts[i + 1];
        if (label.isEmpty() && pattern.isEmpty()) continue;
        // Qt reads the patterns from the trailing parentheses of the label.
        const QString inLabel = QStringLiteral("(%1)").arg(pattern);
        filters << (label.endsWith(inLabel) ? label : QStringLiteral("%1 (%2)").arg(label, pattern));
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

std::optional<QString> chooseWithQt(QWidget *parent, const FileRequest &request) {
    QFileDialog dialog(parent, QStringLiteral("打开"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(qtNameFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialName.isEmpty()) dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

void showWithQt(QWidget *parent, const QString &caption, const QString &text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

DialogHooks interactiveHooks() {
    return DialogHooks{chooseWithQt, showWithQt};
}

}  // namespace datlook
