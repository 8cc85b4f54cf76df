/*
 * vfhost.c - format texts, resolution and text conversion shared by the
 * database extensions.
 *
 * Decisions taken here:
 *  - A format text is NAME, NAMEw., NAMEw.d or NAME.d with blanks around
 *    it ignored and the name in any case; widths have at most five digits
 *    and decimals at most two.  A leading '@' names an informat.
 *  - Built-in names keep w inside minw..maxw and d inside 0..maxd (the
 *    library leaves that check to its host); a name without an
 *    implementation is refused at resolution, before any value.
 *  - An informat without a width reads the whole value (at least its
 *    smallest width); a value longer than its largest width is refused
 *    rather than cut short.  A format without a width takes its default
 *    width.
 *  - Narrow results are Windows-1252 text and 16-bit results UCS-2; both
 *    come back as UTF-8.
 */
#include "vfhost.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define VFH_FORMAT_KIND 'F'
#define VFH_MAX_WIDTH_DIGITS 5
#define VFH_MAX_DECIMAL_DIGITS 2
#define VFH_CATALOG_PROBE "VFHOST-CATALOGUE-PROBE"

/* Windows-1252 bytes 0x80..0x9F as code points; the five the code page
 * leaves unassigned keep their own value. */
static const uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

static uint16_t cp1252_unit(uint8_t b) {
  return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b;
}

/* The Windows-1252 byte of a code point, or -1. */
static int cp1252_byte(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return (int)cp;
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == cp) return 0x80 + i;
  return -1;
}

static bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

static bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

/* A number of at most `digits` digits in s[0..n), or -1. */
static int32_t small_number(const char *s, size_t n, size_t digits) {
  if (n == 0 || n > digits) return -1;
  int32_t v = 0;
  for (size_t i = 0; i < n; ++i) {
    if (!is_digit(s[i])) return -1;
    v = v * 10 + (s[i] - '0');
  }
  return v;
}

static void keep_text(vfh_format *f, const char *s, size_t n) {
  if (n > VFH_TEXT_MAX) n = VFH_TEXT_MAX;
  for (size_t i = 0; i < n; ++i)
    f->text[i] = (s[i] >= 0x20 && s[i] < 0x7F) ? s[i] : '?';
  f->text[n] = '\0';
}

void vfh_trim(const char **text, size_t *len) {
  const char *s = *text;
  size_t n = *len;
  while (n > 0 && is_blank(s[0])) ++s, --n;
  while (n > 0 && is_blank(s[n - 1])) --n;
  *text = s;
  *len = n;
}

vfh_error vfh_parse(const char *text, size_t len, vfh_format *f) {
  f->w = -1;
  f->d = 0;
  f->informat = false;
  f->namelen = 0;
  f->name[0] = '\0';
  vfh_trim(&text, &len);
  keep_text(f, text, len);
  if (len == 0) return VFH_EMPTY;
  if (text[0] == '@') {
    f->informat = true;
    ++text, --len;
  }
  size_t end = len; /* end of name and width */
  const char *dot = memchr(text, '.', len);
  if (dot != NULL) {
    const size_t at = (size_t)(dot - text);
    if (memchr(dot + 1, '.', len - at - 1) != NULL) return VFH_SYNTAX;
    if (at + 1 < len && (f->d = small_number(dot + 1, len - at - 1,
                                             VFH_MAX_DECIMAL_DIGITS)) < 0)
      return VFH_SYNTAX;
    size_t p = at;
    while (p > 0 && is_digit(text[p - 1])) --p;
    if (p < at &&
        (f->w = small_number(text + p, at - p, VFH_MAX_WIDTH_DIGITS)) < 0)
      return VFH_SYNTAX;
    end = p;
  }
  if (end == 0 || end > VFH_NAME_MAX) return VFH_SYNTAX;
  for (size_t i = 0; i < end; ++i) {
    char c = text[i];
    if (is_blank(c) || c == '.' || (unsigned char)c < 0x20) return VFH_SYNTAX;
    if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    f->name[i] = c;
  }
  f->name[end] = '\0';
  f->namelen = (int32_t)end;
  return VFH_OK;
}

/* Width and decimals of a built-in name against its limits. */
static vfh_error check_limits(vfh_format *f, char *message) {
  const fmtattr *a = &f->attrs;
  if (f->handle->desc.fn == NULL) {
    snprintf(message, VFH_MESSAGE,
             "format \"%s\" is not implemented in this build of valfmt",
             f->text);
    return VFH_NO_FUNC;
  }
  if (f->w >= 0 && (f->w < a->minw || f->w > a->maxw)) {
    snprintf(message, VFH_MESSAGE, "format \"%s\": width %d outside %u..%u",
             f->text, (int)f->w, (unsigned)a->minw, (unsigned)a->maxw);
    return VFH_LIMITS;
  }
  if (f->d > a->maxd) {
    snprintf(message, VFH_MESSAGE, "format \"%s\": %d decimals outside 0..%u",
             f->text, (int)f->d, (unsigned)a->maxd);
    return VFH_LIMITS;
  }
  return VFH_OK;
}

vfh_error vfh_resolve(vfh_format *f, const char *text, size_t len,
                      bool want_informat, const fmtcontext *ctx,
                      char *message) {
  f->handle = NULL;
  vfh_error e = vfh_parse(text, len, f);
  if (e == VFH_EMPTY) {
    snprintf(message, VFH_MESSAGE, "empty format text");
    return e;
  }
  if (e != VFH_OK) {
    snprintf(message, VFH_MESSAGE,
             "\"%s\" is not a format (expected NAME, NAMEw. or NAMEw.d)",
             f->text);
    return e;
  }
  if (f->informat && !want_informat) {
    snprintf(message, VFH_MESSAGE,
             "\"%s\" names an informat; use it to read text, not to show "
             "values",
             f->text);
    return VFH_WRONG_KIND;
  }
  f->informat = want_informat;
  fmthandle *h = &f->storage.builtin;
  memset(&f->storage, 0, sizeof f->storage);
  const int32_t st = xfname3(f->name, f->namelen,
                             want_informat ? VF_KIND_INFORMAT : VFH_FORMAT_KIND,
                             &f->attrs, &h, ctx);
  if (st != VF_OK || h == NULL) {
    snprintf(message, VFH_MESSAGE, "unknown %s \"%s\"",
             want_informat ? "informat" : "format", f->text);
    return VFH_UNKNOWN;
  }
  f->handle = h;
  const char kind = h->modname[0];
  f->user = kind == '-' || kind == '+';
  f->builtin = kind == 'J';
  f->character = f->user ? kind == '+' : f->name[0] == '$';
  if (f->user) {
    /* a user format's limits live in its handle */
    const fmtuhandle *u = (const fmtuhandle *)h;
    f->attrs.minw = u->minw;
    f->attrs.maxw = u->maxw;
    f->attrs.defw = u->defw;
    if (f->w >= 0 && (f->w < u->minw || f->w > u->maxw)) {
      snprintf(message, VFH_MESSAGE, "format \"%s\": width %d outside %u..%u",
               f->text, (int)f->w, (unsigned)u->minw, (unsigned)u->maxw);
      vfh_release(f);
      return VFH_LIMITS;
    }
  }
  if (f->builtin && (e = check_limits(f, message)) != VFH_OK) {
    vfh_release(f);
    return e;
  }
  return VFH_OK;
}

void vfh_release(vfh_format *f) {
  if (f->handle != NULL) xfdel(f->handle);
  f->handle = NULL;
}

int32_t vfh_width(const vfh_format *f, size_t valuelen) {
  if (f->w >= 0) return f->w;
  if (!f->informat) return f->attrs.defw;
  size_t w = valuelen;
  if (w > f->attrs.maxw) w = f->attrs.maxw;
  if (w < f->attrs.minw) w = f->attrs.minw;
  return (int32_t)w;
}

bool vfh_too_long(const vfh_format *f, size_t valuelen, char *message) {
  if (!f->informat || f->w >= 0 || valuelen <= f->attrs.maxw) return false;
  snprintf(message, VFH_MESSAGE,
           "informat \"%s\": a text of %zu characters is longer than the %u "
           "it reads",
           f->text, valuelen, (unsigned)f->attrs.maxw);
  return true;
}

void vfh_status_message(const vfh_format *f, int32_t status, char *message) {
  snprintf(message, VFH_MESSAGE, "%s \"%s\": %s (status 0x%08X)",
           f->informat ? "informat" : "format", f->text,
           vfh_status_words(status), (unsigned)status);
}

bool vfh_ascii(const char *s, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if ((unsigned char)s[i] >= 0x80) return false;
  return true;
}

/* One code point from s[*i..n), advancing *i; -1 for a malformed
 * sequence (one byte is then skipped). */
static int32_t next_code_point(const char *s, size_t n, size_t *i) {
  const uint8_t b = (uint8_t)s[*i];
  ++*i;
  if (b < 0x80) return b;
  int more;
  uint32_t cp;
  if (b >= 0xC2 && b < 0xE0)
    more = 1, cp = b & 0x1Fu;
  else if (b >= 0xE0 && b < 0xF0)
    more = 2, cp = b & 0x0Fu;
  else if (b >= 0xF0 && b < 0xF5)
    more = 3, cp = b & 0x07u;
  else
    return -1;
  if (*i + (size_t)more > n) return -1;
  for (int k = 0; k < more; ++k) {
    const uint8_t c = (uint8_t)s[*i + (size_t)k];
    if ((c & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (c & 0x3Fu);
  }
  /* overlong forms, surrogates and code points past U+10FFFF */
  static const uint32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[more] || (cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF)
    return -1;
  *i += (size_t)more;
  return (int32_t)cp;
}

ptrdiff_t vfh_utf8_to_cp1252(const char *s, size_t n, char *dst) {
  size_t i = 0, o = 0;
  while (i < n) {
    const int32_t cp = next_code_point(s, n, &i);
    const int b = cp < 0 ? -1 : cp1252_byte((uint32_t)cp);
    if (b < 0) return -1;
    dst[o++] = (char)b;
  }
  return (ptrdiff_t)o;
}

size_t vfh_utf8_to_ucs2(const char *s, size_t n, uint16_t *dst) {
  size_t i = 0, o = 0;
  while (i < n) {
    const int32_t cp = next_code_point(s, n, &i);
    dst[o++] = (cp < 0 || cp > 0xFFFF) ? 0xFFFD : (uint16_t)cp;
  }
  return o;
}

static size_t put_utf8(uint16_t u, char *dst) {
  if (u < 0x80) {
    dst[0] = (char)u;
    return 1;
  }
  if (u < 0x800) {
    dst[0] = (char)(0xC0 | (u >> 6));
    dst[1] = (char)(0x80 | (u & 0x3F));
    return 2;
  }
  /* a lone surrogate has no UTF-8 form */
  if (u >= 0xD800 && u < 0xE000) u = 0xFFFD;
  dst[0] = (char)(0xE0 | (u >> 12));
  dst[1] = (char)(0x80 | ((u >> 6) & 0x3F));
  dst[2] = (char)(0x80 | (u & 0x3F));
  return 3;
}

size_t vfh_result_to_utf8(const void *out, int32_t outlen, uint32_t outenc,
                          char *dst) {
  const uint8_t *p = (const uint8_t *)out;
  size_t o = 0;
  if (outlen <= 0) return 0;
  if (outenc == VF_ENC_UCS2) {
    for (int32_t i = 0; i + 1 < outlen; i += 2)
      o += put_utf8((uint16_t)(p[i] | (p[i + 1] << 8)), dst + o);
  } else {
    for (int32_t i = 0; i < outlen; ++i)
      o += put_utf8(cp1252_unit(p[i]), dst + o);
  }
  return o;
}

bool vfh_has_nul(const void *out, int32_t outlen) {
  return outlen > 0 && memchr(out, 0, (size_t)outlen) != NULL;
}

int32_t vfh_check_catalog(const char *xml, size_t len) {
  if (len == 0 || len > INT32_MAX) return VF_CAT_NOT_OPENED;
  fmtinmemory mem;
  memset(&mem, 0, sizeof mem);
  memcpy(mem.marker, "INMEMORY", 8);
  mem.text = xml;
  mem.length = (int32_t)len;
  fmtcontext ctx;
  memset(&ctx, 0, sizeof ctx);
  ctx.inmemory = &mem;
  void *head = NULL;
  void **tail = &head;
  const int32_t rc = xfrdfmt(NULL, VFH_CATALOG_PROBE,
                             (int32_t)strlen(VFH_CATALOG_PROBE), &ctx, &tail);
  /* the blocks a read allocates are chained from head: next block first */
  while (head != NULL) {
    void *next = *(void **)head;
    free(head);
    head = next;
  }
  return rc == VF_CAT_NOT_FOUND ? 0 : rc;
}

const char *vfh_catalog_words(int32_t code) {
  static const char *const kWords[] = {"a block could not be allocated",
                                       "element out of place",
                                       "name, label or attribute name too long",
                                       "required attribute missing",
                                       "LIBRARY type is not EXPORT",
                                       "record length or column outside it",
                                       "line over 255 bytes, or cut input",
                                       "TYPE, DATATYPE, LENGTH or Offset empty",
                                       "unknown TYPE or DATATYPE value",
                                       "compressed table",
                                       "sorted table",
                                       "COLUMN count differs from Variables",
                                       "data or table end without a table",
                                       "required or named column not declared",
                                       "character value longer than its column",
                                       "date/time numeric column, or F label",
                                       "format not found",
                                       "catalogue empty or not opened",
                                       "requested rows are behind",
                                       "row of another type"};
  if (code <= -1 && code >= -20) return kWords[-code - 1];
  return "unreadable catalogue";
}
