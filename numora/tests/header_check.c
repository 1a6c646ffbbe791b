/* Compiled as C only: the header must stay plain C. */
#include "numora.h"

int numora_header_check(void);

int numora_header_check(void) {
    char note[32];
    setErrorCode(NUMORA_OK);
    return getErrorNote(getErrorCode(), note) + (int)getPrecision();
}
