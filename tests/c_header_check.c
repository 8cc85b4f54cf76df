/* The public header compiles as C11 and a C host can resolve and format. */
#include <stdio.h>
#include <string.h>

#include "valfmt.h"

int main(void) {
  fmthandle_storage storage;
  fmthandle *h = &storage.builtin;
  fmtattr attrs;
  char out[8];
  fmtcall call;
  const char *text = "abc";
  if (sizeof(fmtcall) != 80 || sizeof(fmthandle) != 80 ||
      sizeof(fmtuhandle) != 144 || sizeof(fmtattr) != 16 ||
      sizeof(fmtcontext) != 152 || sizeof(fmtinfo_eachfmt) != 48) {
    puts("layout differs between C and C++");
    return 1;
  }
  if (xfname3("$CHAR", 5, 'F', &attrs, &h, NULL) != 0 ||
      h != &storage.builtin) {
    puts("$CHAR not resolved");
    return 1;
  }
  memset(&call, 0, sizeof call);
  call.w = 5;
  call.value = text;
  call.valuelen = 3;
  call.out = out;
  call.outsize = sizeof out;
  if (xffmt(&call, h) != 0 || call.outlen != 5 ||
      memcmp(out, "abc  ", 5) != 0) {
    puts("$CHAR5. of abc is wrong");
    return 1;
  }
  xfdel(h);
  return 0;
}
