// messages.h - internal: how sigmora shows a message (through the hook installed by the host).
#ifndef SIGMORA_MESSAGES_H
#define SIGMORA_MESSAGES_H

namespace sigmora {

// Passes text and caption to the installed message hook, or writes them to standard error.
void showMessage(const char *text, const char *caption);

} // namespace sigmora

#endif
