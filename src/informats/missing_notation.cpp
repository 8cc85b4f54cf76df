// The missing-value notation reader: a blank field, or one code character
// ('_', '.', a letter of either case), or a point followed by '_' or a
// letter, with blanks around.  The mapping from characters to missing
// values is core's (missing_code).
#include "informats/informats.h"
#include "informats/reader_support.h"

namespace valfmt {

int32_t read_missing_notation(const char *text, int32_t len, void *out) {
  store_missing(out);
  if (text == nullptr || len < 0) len = 0;
  int32_t i = 0;
  while (i < len && text[i] == ' ') ++i;
  if (i == len) return 1;
  const auto c1 = static_cast<unsigned char>(text[i]);
  const auto c2 = static_cast<unsigned char>(i + 1 < len ? text[i + 1] : ' ');
  int code;
  if (c2 == ' ') {
    code = missing_code(c1);
  } else {
    if (c1 != '.' || c2 == '.') return 0;
    code = missing_code(c2);
  }
  if (code < 0) return 0;
  for (int32_t k = i + 2; k < len; ++k)
    if (text[k] != ' ') return 0;
  store(out, missing_value(static_cast<uint8_t>(code)));
  return 1;
}

} // namespace valfmt
