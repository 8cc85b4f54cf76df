// The library's status table, reached from the C code of the extensions.
#include "core/status.h"

#include "vfhost.h"

extern "C" const char *vfh_status_words(int32_t status) {
  return valfmt::status_words(status);
}
