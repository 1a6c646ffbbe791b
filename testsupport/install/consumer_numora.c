/* The numora half of the consumer: the note of error code 0. */
#include <numora.h>
#include <string.h>

int numoraAnswers(void) {
    char note[64];
    return getErrorNote(0, note) > 0 && strcmp(note, "No error") == 0;
}
