// Prototypes of every format and informat function a descriptor row names,
// generated from modules.def.  Functions still to be built (VF_TODO) are
// declared too, so building one is: write the function, drop its VF_TODO.
// All of them are exported with C linkage; hosts normally reach them
// through the descriptors (fmtinfo_eachfmt::fn).
#pragma once

#include "valfmt.h"

extern "C" {

#define VF_TODO(fn) fn
#define VF_NONE vf_no_function
#define VF_MODULE_BEGIN(...)
#define VF_MODULE_END(...)
#define VF_ROW(module, name, minw, maxw, defw, maxd, flag1, flag2, aux, fn)    \
  VF_API int32_t fn(fmtcall *call);
#define VF_ROW_UNLISTED VF_ROW
#include "registry/modules.def"
#undef VF_TODO
#undef VF_NONE
#undef VF_MODULE_BEGIN
#undef VF_MODULE_END
#undef VF_ROW
#undef VF_ROW_UNLISTED

} // extern "C"
