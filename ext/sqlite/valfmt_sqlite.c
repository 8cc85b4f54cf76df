/*
 * valfmt_sqlite.c - the valfmt formats and informats as SQLite functions.
 *
 *   vf_put(value, format)     the value shown with a format; a number for
 *                             numeric formats, text for '$' formats
 *   vf_input(text, informat)  a number, or text for '$' informats
 *   vf_load_catalog(xml)      user-defined formats for this connection
 *                             (NULL or '' drops them)
 *   vf_set_locale(name)       locale of the national-language formats for
 *                             this connection (NULL or '' is en_US);
 *                             returns the locale record number
 *
 * Load it in the sqlite3 shell with `.load ./valfmt_sqlite`.
 *
 * Decisions taken here:
 *  - vf_put and vf_input are innocuous but not deterministic: the same
 *    format text can name a user format of the loaded catalogue or a
 *    locale format, so a result also depends on what vf_load_catalog and
 *    vf_set_locale did on this connection.  A deterministic function may
 *    feed an index, a generated column or a CHECK constraint, which would
 *    go stale (or differ between connections) once the state changes.
 *    vf_load_catalog and vf_set_locale change that state and are
 *    direct-only: not usable from triggers, views or the schema.
 *  - Resolutions are cached per connection under the trimmed format text,
 *    the kind (format or informat) and the state generation, a few at a
 *    time, so a format column that varies from row to row neither resolves
 *    nor allocates per row; a statement's constant format also stays in
 *    its auxiliary data.  Loading a catalogue or setting the locale starts
 *    a new generation and drops the cache.
 *  - Built-in names come first; the catalogue is asked only for a name
 *    that is not built in.  A catalogue that does not read through is an
 *    error when loaded, and the one loaded before stays.
 *  - NULL gives NULL; a NULL or empty format text is an error.
 *  - A numeric format takes integers and reals; text that reads as a
 *    number is taken as that number, other text is an error.  A character
 *    format takes text; a number is shown through its text.  (SQLite keeps
 *    no NaN: a NaN result of an expression is already NULL.)
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
#define VF_SLOTS 8

/* One resolution, shared by the connection's cache and by the auxiliary
 * data of the calls that use it; freed when the last holder lets go. */
typedef struct vf_resolved {
  vfh_format f;
  int32_t outsize;
  char *out; /* the call's output */
  int refs;
  uint64_t generation;
  bool informat_call; /* resolved for vf_input */
  size_t keylen;
  char key[VFH_TEXT_MAX];
} vf_resolved;

/* What the functions of one connection share. */
typedef struct vf_state {
  int refs; /* one per function registered with it */
  uint64_t generation;
  char *catalog; /* loaded catalogue text, or NULL */
  size_t catalog_len;
  int32_t locale_id;
  int next;
  vf_resolved *slots[VF_SLOTS];
} vf_state;

static void unref_resolved(void *p) {
  vf_resolved *r = (vf_resolved *)p;
  if (--r->refs > 0) return;
  vfh_release(&r->f);
  sqlite3_free(r->out);
  sqlite3_free(r);
}

static void drop_cache(vf_state *st) {
  for (int i = 0; i < VF_SLOTS; ++i) {
    if (st->slots[i] != NULL) unref_resolved(st->slots[i]);
    st->slots[i] = NULL;
  }
}

static void unref_state(void *p) {
  vf_state *st = (vf_state *)p;
  if (--st->refs > 0) return;
  drop_cache(st);
  sqlite3_free(st->catalog);
  sqlite3_free(st);
}

/* The loaded catalogue as a resolution context, or NULL. */
static const fmtcontext *catalog_context(const vf_state *st, fmtcontext *ctx,
                                         fmtinmemory *mem) {
  if (st->catalog == NULL) return NULL;
  memset(ctx, 0, sizeof *ctx);
  memset(mem, 0, sizeof *mem);
  memcpy(mem->marker, "INMEMORY", 8);
  mem->text = st->catalog;
  mem->length = (int32_t)st->catalog_len;
  ctx->inmemory = mem;
  return ctx;
}

/* A new resolution of text[0..len) (refs 0), or NULL after an error was
 * set. */
static vf_resolved *resolve(sqlite3_context *ctx, const vf_state *st,
                            const char *text, size_t len, bool informat) {
  char message[VFH_MESSAGE + 8];
  memcpy(message, "valfmt: ", 8);
  vf_resolved *r = sqlite3_malloc64(sizeof *r);
  if (r == NULL) {
    sqlite3_result_error_nomem(ctx);
    return NULL;
  }
  /* resolved in place: a handle in caller storage holds its own address */
  vfh_error e = vfh_resolve(&r->f, text, len, informat, NULL, message + 8);
  fmtcontext cctx;
  fmtinmemory mem;
  const fmtcontext *c = catalog_context(st, &cctx, &mem);
  if (e == VFH_UNKNOWN && c != NULL)
    e = vfh_resolve(&r->f, text, len, informat, c, message + 8);
  if (e != VFH_OK) {
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
  r->refs = 0;
  r->generation = st->generation;
  r->informat_call = informat;
  r->keylen = len;
  memcpy(r->key, text, len);
  return r;
}

/* The resolved format of argument 1, or NULL after an error was set.  The
 * result stays valid for the rest of the call: the cache holds it. */
static vf_resolved *format_arg(sqlite3_context *ctx, sqlite3_value *arg,
                               bool informat) {
  vf_state *st = sqlite3_user_data(ctx);
  vf_resolved *r = sqlite3_get_auxdata(ctx, 1);
  if (r != NULL && r->generation == st->generation) return r;
  if (sqlite3_value_type(arg) == SQLITE_NULL) {
    sqlite3_result_error(ctx, "valfmt: the format text is null", -1);
    return NULL;
  }
  const char *text = (const char *)sqlite3_value_text(arg);
  size_t len = (size_t)sqlite3_value_bytes(arg);
  if (text == NULL) {
    sqlite3_result_error_nomem(ctx);
    return NULL;
  }
  vfh_trim(&text, &len);
  r = NULL;
  for (int i = 0; i < VF_SLOTS && r == NULL; ++i) {
    vf_resolved *s = st->slots[i];
    if (s != NULL && s->informat_call == informat && s->keylen == len &&
        memcmp(s->key, text, len) == 0)
      r = s;
  }
  if (r == NULL) {
    /* a text that long names nothing: resolution reports why */
    if (len > VFH_TEXT_MAX) {
      char message[VFH_MESSAGE + 8];
      vfh_format f;
      memcpy(message, "valfmt: ", 8);
      (void)vfh_resolve(&f, text, len, informat, NULL, message + 8);
      vfh_release(&f);
      sqlite3_result_error(ctx, message, -1);
      return NULL;
    }
    r = resolve(ctx, st, text, len, informat);
    if (r == NULL) return NULL;
    if (st->slots[st->next] != NULL) unref_resolved(st->slots[st->next]);
    st->slots[st->next] = r;
    st->next = (st->next + 1) % VF_SLOTS;
    ++r->refs;
  }
  /* kept for the next rows when the argument is constant; SQLite lets go
   * of it after this call otherwise */
  ++r->refs;
  sqlite3_set_auxdata(ctx, 1, r, unref_resolved);
  return r;
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

static void init_call(sqlite3_context *ctx, fmtcall *c, vf_resolved *r) {
  const vf_state *st = sqlite3_user_data(ctx);
  memset(c, 0, sizeof *c);
  c->localeid = st->locale_id;
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
  init_call(ctx, &c, r);
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
  init_call(ctx, &c, r);
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
  vf_resolved *r = format_arg(ctx, argv[1], false);
  if (r != NULL) put_value(ctx, r, argv);
}

static void vf_input(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
  (void)argc;
  vf_resolved *r = format_arg(ctx, argv[1], true);
  if (r != NULL) input_value(ctx, r, argv);
}

/* A new generation: every cached resolution is resolved again. */
static void new_generation(vf_state *st) {
  ++st->generation;
  drop_cache(st);
}

static void vf_load_catalog(sqlite3_context *ctx, int argc,
                            sqlite3_value **argv) {
  (void)argc;
  vf_state *st = sqlite3_user_data(ctx);
  const char *xml = (const char *)sqlite3_value_text(argv[0]);
  const size_t len = (size_t)sqlite3_value_bytes(argv[0]);
  char *copy = NULL;
  if (xml != NULL && len > 0) {
    const int32_t rc = vfh_check_catalog(xml, len);
    if (rc != 0) {
      char message[VFH_MESSAGE];
      snprintf(message, sizeof message,
               "valfmt: catalogue given to vf_load_catalog cannot be read: "
               "%s (reader code %d)",
               vfh_catalog_words(rc), (int)rc);
      sqlite3_result_error(ctx, message, -1);
      return;
    }
    copy = sqlite3_malloc64(len + 1);
    if (copy == NULL) {
      sqlite3_result_error_nomem(ctx);
      return;
    }
    memcpy(copy, xml, len);
    copy[len] = '\0';
  }
  sqlite3_free(st->catalog);
  st->catalog = copy;
  st->catalog_len = copy != NULL ? len : 0;
  new_generation(st);
}

static void vf_set_locale(sqlite3_context *ctx, int argc,
                          sqlite3_value **argv) {
  (void)argc;
  vf_state *st = sqlite3_user_data(ctx);
  const char *name = (const char *)sqlite3_value_text(argv[0]);
  const int len = sqlite3_value_bytes(argv[0]);
  int32_t id = 0;
  if (name != NULL && len > 0 && LocnameToID(name, len, &id) != 0) {
    char message[VFH_MESSAGE];
    snprintf(message, sizeof message,
             "valfmt: \"%.40s\" is not a locale name such as en_US", name);
    sqlite3_result_error(ctx, message, -1);
    return;
  }
  st->locale_id = id;
  new_generation(st);
  sqlite3_result_int(ctx, id);
}

/* Registers one function sharing `st`; the state lives while any of them
 * does (SQLite calls the destructor on failure too). */
static int add_function(sqlite3 *db, vf_state *st, const char *name, int nargs,
                        int flags,
                        void (*fn)(sqlite3_context *, int, sqlite3_value **)) {
  ++st->refs;
  return sqlite3_create_function_v2(db, name, nargs, SQLITE_UTF8 | flags, st,
                                    fn, NULL, NULL, unref_state);
}

#ifdef _WIN32
__declspec(dllexport)
#endif
    int sqlite3_valfmtsqlite_init(sqlite3 *db, char **err,
                                  const sqlite3_api_routines *api) {
  (void)err;
  SQLITE_EXTENSION_INIT2(api);
  vf_state *st = sqlite3_malloc64(sizeof *st);
  if (st == NULL) return SQLITE_NOMEM;
  memset(st, 0, sizeof *st);
  st->refs = 1; /* this function's own hold, let go at the end */
  st->generation = 1;
  int rc = add_function(db, st, "vf_put", 2, SQLITE_INNOCUOUS, vf_put);
  if (rc == SQLITE_OK)
    rc = add_function(db, st, "vf_input", 2, SQLITE_INNOCUOUS, vf_input);
  if (rc == SQLITE_OK)
    rc = add_function(db, st, "vf_load_catalog", 1, SQLITE_DIRECTONLY,
                      vf_load_catalog);
  if (rc == SQLITE_OK)
    rc = add_function(db, st, "vf_set_locale", 1, SQLITE_DIRECTONLY,
                      vf_set_locale);
  unref_state(st);
  return rc;
}
