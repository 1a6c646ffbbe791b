// state.h - internal: the process-wide error code and precision as routines of the library use them.
#ifndef NUMORA_STATE_H
#define NUMORA_STATE_H

#include <cstdint>

namespace numora {

// Records a failure (codes of numora.h); called on a failure path just before returning.
void setError(int32_t code);
// The working precision, read at the start of a call.
float precision();

}  // namespace numora

#endif
