/*
 * valfmt_sqlite.c - the valfmt formats and informats as SQLite functions.
 *
 *   vf_put(value, format)   the value shown with a format; a number for
 *                           numeric formats, text for '$' formats
 *   vf_input(text, informat)  a number, or text for '$' informats
 *
 * Load it in the sqlite3 shell with `.load ./valfmt_sqlite`.  Both
 * functions are deterministic and innocuous; a constant format argument is
 * resolved once per statement (sqlite3_get_auxdata).
 *
 * Decisions taken here:
 *  - NULL gives NULL; a NULL or empty format text is an error.
 *  - A numeric format takes integers and reals; text that reads as a
 *    number is taken as that number, other text is an error.  A character
 *    format takes text; a number is shown through its text.
 *  - A missing value read by an informat gives NULL.  An informat without
 *    a width reads each whole text; a longer text than its largest width
 *    is an error.
 *  - Text is UTF-8 both ways: narrow Windows-1252 when every character has
 *    a byte there, else UCS-2 for built-in formats, UTF-8 for user formats.
 *  - Results holding a NUL byte (machine representations such as PD) are
 *    refused as not text.
 */
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vfhost.h"

#define VF_MIN_OUT 256

typedef struct vf_resolved {
  vfh_format f;
  int32_t outsize;
  char *out; /* the call's output */
} vf_resolved;

static void free_resolved(void *p) {
  vf_resolved *r = (vf_resolved *)p;
  vfh_release(&r->f);
  sqlite3_free(r->out);
  sqlite3_free(r);
}

/* The resolved format of argument 1: the one kept for a constant argument,
 * else a fresh one (*fresh set) that the caller hands to keep_resolved once
 * it is done with it.  NULL after an error was set. */
static vf_resolved *format_arg(sqlite3_context *ctx, sqlite3_value *arg,
                               bool informat, bool *fresh) {
  *fresh = false;
  vf_resolved *r = sqlite3_get_auxdata(ctx, 1);
  if (r != NULL) return r;
  if (sqlite3_value_type(arg) == SQLITE_NULL) {
    sqlite3_result_error(ctx, "valfmt: the format text is null", -1);
    return NULL;
  }
  const char *text = (const char *)sqlite3_value_text(arg);
  const int len = sqlite3_value_bytes(arg);
  char message[VFH_MESSAGE + 8];
  memcpy(message, "valfmt: ", 8);
  r = sqlite3_malloc64(sizeof *r);
  if (r == NULL) {
    sqlite3_result_error_nomem(ctx);
    return NULL;
  }
  /* resolved in place: a handle in caller storage holds its own address */
  if (vfh_resolve(&r->f, text, (size_t)len, informat, NULL, message + 8) !=
      VFH_OK) {
    sqlite3_free(r);
    sqlite3_result_error(ctx, message, -1);
    return NULL;
  }
  int32_t w = r->f.w >= 0 ? r->f.w : (int32_t)r->f.attrs.maxw;
  if (w < r->f.attrs.defw) w = r->f.attrs.defw;
  if (w < VF_MIN_OUT) w = VF_MIN_OUT;
  r->outsize = 2 * w + 16;
  r->out = sqlite3_malloc64((sqlite3_uint64)r->outsize);
  if (r->out == NULL) {
    vfh_release(&r->f);
    sqlite3_free(r);
    sqlite3_result_error_nomem(ctx);
    return NULL;
  }
  *fresh = true;
  return r;
}

/* Offers a fresh resolution to SQLite for the next rows.  SQLite may free
 * it at once (a format that is not a constant, or a call outside a running
 * statement), so nothing touches `r` afterwards. */
static void keep_resolved(sqlite3_context *ctx, vf_resolved *r, bool fresh) {
  if (fresh) sqlite3_set_auxdata(ctx, 1, r, free_resolved);
}

static bool check_status(sqlite3_context *ctx, const vf_resolved *r,
                         int32_t st) {
  char message[VFH_MESSAGE + 8];
  if (!vfh_is_error(st)) return true;
  memcpy(message, "valfmt: ", 8);
  vfh_status_message(&r->f, st, message + 8);
  sqlite3_result_error(ctx, message, -1);
  return false;
}

static void result_text(sqlite3_context *ctx, const vf_resolved *r,
                        const fmtcall *c) {
  int32_t n = c->outlen < 0 ? 0 : c->outlen;
  if (n > c->outsize) n = c->outsize;
  if (c->outenc != VF_ENC_UCS2) {
    if (vfh_has_nul(c->out, n)) {
      char message[VFH_MESSAGE];
      snprintf(message, sizeof message,
               "valfmt: format \"%s\" gives bytes, not text", r->f.text);
      sqlite3_result_error(ctx, message, -1);
      return;
    }
    if (vfh_ascii(c->out, (size_t)n)) {
      sqlite3_result_text(ctx, c->out, n, SQLITE_TRANSIENT);
      return;
    }
  }
  char *utf8 = sqlite3_malloc64((sqlite3_uint64)n * 3 + 1);
  if (utf8 == NULL) {
    sqlite3_result_error_nomem(ctx);
    return;
  }
  const size_t len = vfh_result_to_utf8(c->out, n, c->outenc, utf8);
  sqlite3_result_text(ctx, utf8, (int)len, sqlite3_free);
}

static void init_call(fmtcall *c, vf_resolved *r) {
  memset(c, 0, sizeof *c);
  c->w = vfh_width(&r->f, 0);
  c->d = r->f.d;
  c->out = r->out;
  c->outsize = r->outsize;
  c->reqenc = VF_ENC_UTF8; /* results come back as produced */
}

/* Character input; *scratch receives a buffer to free after the call.
 * False (error set) for text a character informat cannot read. */
static bool char_input(sqlite3_context *ctx, fmtcall *c, const vf_resolved *r,
                       sqlite3_value *v, void **scratch) {
  const char *p = (const char *)sqlite3_value_text(v);
  const size_t n = (size_t)sqlite3_value_bytes(v);
  *scratch = NULL;
  c->value = p;
  c->valuelen = (int32_t)n;
  if (r->f.user) {
    c->inenc = VF_ENC_UTF8;
    return true;
  }
  if (vfh_ascii(p, n)) return true;
  char *narrow = sqlite3_malloc64(n + 1);
  if (narrow == NULL) {
    sqlite3_result_error_nomem(ctx);
    return false;
  }
  const ptrdiff_t m = vfh_utf8_to_cp1252(p, n, narrow);
  if (m >= 0) {
    *scratch = narrow;
    c->value = narrow;
    c->valuelen = (int32_t)m;
    return true;
  }
  sqlite3_free(narrow);
  if (r->f.informat && r->f.character) {
    sqlite3_result_error(
        ctx, "valfmt: character informats read Windows-1252 characters only",
        -1);
    return false;
  }
  if (r->f.informat) return true; /* the bytes as they are: not a number */
  uint16_t *wide = sqlite3_malloc64(n * sizeof(uint16_t) + 2);
  if (wide == NULL) {
    sqlite3_result_error_nomem(ctx);
    return false;
  }
  *scratch = wide;
  c->value = wide;
  c->valuelen = (int32_t)vfh_utf8_to_ucs2(p, n, wide);
  c->inenc = VF_ENC_UCS2;
  return true;
}

static void put_value(sqlite3_context *ctx, vf_resolved *r,
                      sqlite3_value **argv) {
  sqlite3_value *v = argv[0];
  const int type = sqlite3_value_type(v);
  if (type == SQLITE_NULL) return;
  fmtcall c;
  init_call(&c, r);
  void *scratch = NULL;
  double x;
  if (r->f.character) {
    if (!char_input(ctx, &c, r, v, &scratch)) return;
  } else {
    if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
      const int numeric = sqlite3_value_numeric_type(v);
      if (numeric != SQLITE_INTEGER && numeric != SQLITE_FLOAT) {
        char message[VFH_MESSAGE];
        snprintf(message, sizeof message,
                 "valfmt: format \"%s\" shows numbers, not text", r->f.text);
        sqlite3_result_error(ctx, message, -1);
        return;
      }
    }
    x = sqlite3_value_double(v);
    c.value = &x;
    c.valuelen = (int32_t)sizeof x;
  }
  const int32_t st = xffmt(&c, r->f.handle);
  if (check_status(ctx, r, st)) result_text(ctx, r, &c);
  sqlite3_free(scratch);
}

static void input_value(sqlite3_context *ctx, vf_resolved *r,
                        sqlite3_value **argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
  fmtcall c;
  init_call(&c, r);
  void *scratch = NULL;
  if (!char_input(ctx, &c, r, argv[0], &scratch)) return;
  char message[VFH_MESSAGE + 8];
  memcpy(message, "valfmt: ", 8);
  if (vfh_too_long(&r->f, (size_t)c.valuelen, message + 8)) {
    sqlite3_free(scratch);
    sqlite3_result_error(ctx, message, -1);
    return;
  }
  c.w = vfh_width(&r->f, (size_t)c.valuelen);
  double v = 0;
  if (!r->f.character) {
    c.out = &v;
    c.outsize = (int32_t)sizeof v;
    c.reqenc = VF_ENC_NARROW;
  }
  const int32_t st = xffmt(&c, r->f.handle);
  sqlite3_free(scratch);
  if (!check_status(ctx, r, st)) return;
  if (r->f.character)
    result_text(ctx, r, &c);
  else if (!zmiss(v))
    sqlite3_result_double(ctx, v);
}

static void vf_put(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
  (void)argc;
  bool fresh;
  vf_resolved *r = format_arg(ctx, argv[1], false, &fresh);
  if (r == NULL) return;
  put_value(ctx, r, argv);
  keep_resolved(ctx, r, fresh);
}

static void vf_input(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
  (void)argc;
  bool fresh;
  vf_resolved *r = format_arg(ctx, argv[1], true, &fresh);
  if (r == NULL) return;
  input_value(ctx, r, argv);
  keep_resolved(ctx, r, fresh);
}

#ifdef _WIN32
__declspec(dllexport)
#endif
    int sqlite3_valfmtsqlite_init(sqlite3 *db, char **err,
                                  const sqlite3_api_routines *api) {
  (void)err;
  SQLITE_EXTENSION_INIT2(api);
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  int rc =
      sqlite3_create_function(db, "vf_put", 2, flags, NULL, vf_put, NULL, NULL);
  if (rc == SQLITE_OK)
    rc = sqlite3_create_function(db, "vf_input", 2, flags, NULL, vf_input, NULL,
                                 NULL);
  return rc;
}
