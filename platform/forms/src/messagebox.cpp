#include "forms/messagebox.h"

#include <QMessageBox>

namespace forms {

namespace {
MessageHook &hook() {
    static MessageHook h;
    return h;
}

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information: return QMessageBox::Information;
        case MsgIcon::Warning: return QMessageBox::Warning;
        case MsgIcon::Critical: return QMessageBox::Critical;
        case MsgIcon::Question: return QMessageBox::Question;
        default: return QMessageBox::NoIcon;
    }
}
}  // namespace

void setMessageHook(MessageHook h) {
    hook() = std::move(h);
}

MsgResult showMessage(QWidget *parent, MsgIcon icon, const QString &title, const QString &text,
                      MsgButtons buttons) {
    if (hook()) return hook()(MessageRequest{icon, title, text, buttons});
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, parent);
    switch (buttons) {
        case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    switch (box.exec()) {
        case QMessageBox::Cancel: return MsgResult::Cancel;
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        default: return MsgResult::Ok;
    }
}

}  // namespace forms
