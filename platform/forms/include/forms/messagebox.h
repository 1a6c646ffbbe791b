// messagebox.h - the one way the programs show a message box, so tests can watch and answer.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace forms {

enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MessageRequest {
    MsgIcon icon;
    QString title;
    QString text;
    MsgButtons buttons;
};

// Shows a modal message box (or hands the request to the installed hook) and returns the answer.
MsgResult showMessage(QWidget *parent, MsgIcon icon, const QString &title, const QString &text,
                      MsgButtons buttons = MsgButtons::Ok);

// Replaces the real box; the hook answers instead. An empty function restores the real box.
using MessageHook = std::function<MsgResult(const MessageRequest &)>;
void setMessageHook(MessageHook hook);

}  // namespace forms
