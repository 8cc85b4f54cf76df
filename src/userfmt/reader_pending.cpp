// Catalogue reader entry used until the XML reader is built: no catalogue
// holds any name yet.
#include "valfmt.h"

extern "C" VF_API int32_t xfrdfmt(void *, const char *, int32_t, fmtcontext *,
                                  void ***) {
  return -18;
}
