// messages.h - internal: how numora shows a message (through the hook installed by the host).
#ifndef NUMORA_MESSAGES_H
#define NUMORA_MESSAGES_H

namespace numora {

// Passes text and caption to the installed message hook, or writes them to standard error.
void showMessage(const char *text, const char *caption);

} // namespace numora

#endif
