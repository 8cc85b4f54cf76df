/*
 * valfmt_pg.c - the valfmt formats and informats as SQL functions.
 *
 *   vf_put(value, format) -> text        for double precision, numeric,
 *                                        text, date, timestamp and time
 *   vf_input(text, informat) -> double precision
 *   vf_input_char(text, informat) -> text
 *   vf_input_date(text, informat) -> date
 *   vf_input_timestamp(text, informat) -> timestamp
 *   vf_load_catalog(xml text)            user formats for the session
 *
 * A call site resolves each format text once and keeps the handle in
 * fn_extra (a few texts at once, so a format column that varies still
 * works); the handles are released when the call site's memory goes, at the
 * end of the query or when it fails.
 *
 * Decisions taken here:
 *  - A NULL value gives NULL; a NULL or empty format text is an error.  An
 *    informat that stores a missing value gives NULL.  An informat
 *    written without a width reads each whole text; a text longer than
 *    its largest width is an error, never read in part.
 *  - A NaN (float8 or numeric) is a value, not NULL: it is shown as the
 *    library's standard missing value, the library's own "no number",
 *    through the format ('.' in the numeric formats, a user format's
 *    range or OTHER label for '.'), rather than failing the query.  Other
 *    NaN bit patterns, which the library would read as special missing
 *    values or refuse, never reach it.
 *  - Format texts are cached under their text with the blanks around it
 *    dropped; a usable text is then at most 64 bytes, so every usable
 *    text is cached, however it is padded.
 *  - Dates, times and timestamps are counted from 1 January 1960: days for
 *    a date, seconds for a time of day and a timestamp.  Infinite dates and
 *    timestamps are refused.
 *  - Character values go to the library as narrow Windows-1252 text when
 *    every character has a byte there, else as UCS-2; user character
 *    formats read the database's text as UTF-8.  Results come back in the
 *    database's encoding.  A result holding a NUL byte (the bytes of a
 *    machine representation such as PD or IB) is refused as not text.
 *  - User formats come from the text loaded with vf_load_catalog (kept in
 *    the hidden setting valfmt.catalog_text, so parallel workers see it),
 *    else from the file valfmt.catalog names.  Naming a server file is
 *    reserved to superusers.  A catalogue that does not read through is an
 *    error when it is loaded or first used; built-in names never need it.
 *  - valfmt.locale takes a locale name (en_US, de_DE ...) and is turned
 *    into the locale record number once, when it is set.
 */
#include "postgres.h"

#include <math.h>
#include <stdio.h>
#include <sys/stat.h>

#include "fmgr.h"
#include "mb/pg_wchar.h"
#include "storage/fd.h"
#include "utils/builtins.h"
#include "utils/date.h"
#include "utils/guc.h"
#include "utils/memutils.h"
#include "utils/numeric.h"
#include "utils/timestamp.h"

#include "vfhost.h"

/* Present only in a library built with the locale database. */
#pragma weak LocnameToID

PG_MODULE_MAGIC;

#define VF_SLOTS 4
#define VF_MIN_OUT 256
#define VF_DAYS_1960_TO_2000 14610
#define VF_SECONDS_1960_TO_2000 INT64CONST(1262304000)

/* Settings. */
static char *locale_name = NULL;
static char *catalog_path = NULL;
static char *catalog_text = NULL;
static int32 locale_id = 0;

/* The catalogue in use: a copy of its text, and the settings generation
 * it was read for. */
static uint64 catalog_generation = 1;
static uint64 catalog_read_for = 0;
static char *catalog_copy = NULL;
static size_t catalog_len = 0;

typedef struct VfSlot {
  uint64 generation; /* 0: empty */
  int keylen;
  char key[VFH_TEXT_MAX];
  vfh_format f;
  char *out;
  int32 outsize;
} VfSlot;

typedef struct VfCache {
  int next;
  MemoryContextCallback release;
  VfSlot slots[VF_SLOTS];
} VfCache;

/* ------------------------------------------------------------------ */
/* Settings and the catalogue.                                         */

static bool check_locale(char **newval, void **extra, GucSource source) {
  int32 id = 0;
  (void)source;
  if (*newval != NULL && **newval != '\0') {
    if (LocnameToID == NULL) {
      GUC_check_errdetail("This libvalfmt has no locale database.");
      return false;
    }
    if (LocnameToID(*newval, (int32)strlen(*newval), &id) != 0) {
      GUC_check_errdetail("\"%s\" is not a locale name such as en_US.",
                          *newval);
      return false;
    }
  }
  *extra = malloc(sizeof(int32));
  if (*extra == NULL) return false;
  *(int32 *)*extra = id;
  return true;
}

static void assign_locale(const char *newval, void *extra) {
  (void)newval;
  locale_id = extra != NULL ? *(int32 *)extra : 0;
}

static void assign_catalog(const char *newval, void *extra) {
  (void)newval;
  (void)extra;
  ++catalog_generation;
}

static void raise_catalog_error(const char *where, int32 code) {
  ereport(ERROR, (errcode(ERRCODE_INVALID_PARAMETER_VALUE),
                  errmsg("valfmt: catalogue %s cannot be read: %s (reader "
                         "code %d)",
                         where, vfh_catalog_words(code), (int)code)));
}

/* The whole file at `path`, in TopMemoryContext. */
static char *read_catalog_file(const char *path, size_t *len) {
  FILE *file = AllocateFile(path, PG_BINARY_R);
  struct stat st;
  char *buf;
  if (file == NULL)
    ereport(ERROR, (errcode_for_file_access(),
                    errmsg("valfmt: cannot open catalogue \"%s\": %m", path)));
  if (fstat(fileno(file), &st) != 0 || st.st_size >= (off_t)MaxAllocSize) {
    FreeFile(file);
    ereport(ERROR,
            (errcode(ERRCODE_INVALID_PARAMETER_VALUE),
             errmsg("valfmt: catalogue \"%s\" is not a readable file", path)));
  }
  buf = MemoryContextAlloc(TopMemoryContext, (Size)st.st_size + 1);
  *len = fread(buf, 1, (size_t)st.st_size, file);
  buf[*len] = '\0';
  if (ferror(file)) {
    FreeFile(file);
    pfree(buf);
    ereport(ERROR, (errcode_for_file_access(),
                    errmsg("valfmt: cannot read catalogue \"%s\": %m", path)));
  }
  FreeFile(file);
  return buf;
}

/* The catalogue context for resolution, or NULL when none is set.  A
 * catalogue that does not read through raises an error each time it is
 * needed, until the settings change. */
static const fmtcontext *catalog_context(fmtcontext *ctx, fmtinmemory *mem) {
  if (catalog_read_for != catalog_generation) {
    char *text = NULL;
    size_t len = 0;
    int32 rc;
    if (catalog_copy != NULL) pfree(catalog_copy);
    catalog_copy = NULL;
    catalog_len = 0;
    if (catalog_text != NULL && catalog_text[0] != '\0') {
      len = strlen(catalog_text);
      text = MemoryContextStrdup(TopMemoryContext, catalog_text);
    } else if (catalog_path != NULL && catalog_path[0] != '\0') {
      text = read_catalog_file(catalog_path, &len);
    }
    if (text != NULL && (rc = vfh_check_catalog(text, len)) != 0) {
      pfree(text);
      raise_catalog_error(catalog_text != NULL && catalog_text[0] != '\0'
                              ? "loaded with vf_load_catalog"
                              : "named by valfmt.catalog",
                          rc);
    }
    catalog_copy = text;
    catalog_len = len;
    catalog_read_for = catalog_generation;
  }
  if (catalog_copy == NULL) return NULL;
  memset(ctx, 0, sizeof *ctx);
  memset(mem, 0, sizeof *mem);
  memcpy(mem->marker, "INMEMORY", 8);
  mem->text = catalog_copy;
  mem->length = (int32_t)catalog_len;
  ctx->inmemory = mem;
  return ctx;
}

void _PG_init(void);

void _PG_init(void) {
  DefineCustomStringVariable(
      "valfmt.locale", "Locale of the national-language formats.",
      "A locale name such as en_US; empty selects en_US.", &locale_name, "",
      PGC_USERSET, 0, check_locale, assign_locale, NULL);
  DefineCustomStringVariable(
      "valfmt.catalog", "XML format catalogue file of user-defined formats.",
      "A path the server can read.", &catalog_path, "", PGC_SUSET, 0, NULL,
      assign_catalog, NULL);
  DefineCustomStringVariable(
      "valfmt.catalog_text", "Catalogue text loaded by vf_load_catalog.", NULL,
      &catalog_text, "", PGC_USERSET,
      GUC_NO_SHOW_ALL | GUC_NOT_IN_SAMPLE | GUC_DISALLOW_IN_FILE, NULL,
      assign_catalog, NULL);
  MarkGUCPrefixReserved("valfmt");
}

/* ------------------------------------------------------------------ */
/* Resolution, cached per call site.                                   */

static void release_slots(void *arg) {
  VfCache *cache = (VfCache *)arg;
  for (int i = 0; i < VF_SLOTS; ++i) {
    vfh_release(&cache->slots[i].f);
    cache->slots[i].generation = 0;
  }
}

static VfCache *cache_of(FunctionCallInfo fcinfo) {
  VfCache *cache = (VfCache *)fcinfo->flinfo->fn_extra;
  if (cache == NULL) {
    cache = MemoryContextAllocZero(fcinfo->flinfo->fn_mcxt, sizeof(VfCache));
    cache->release.func = release_slots;
    cache->release.arg = cache;
    MemoryContextRegisterResetCallback(fcinfo->flinfo->fn_mcxt,
                                       &cache->release);
    fcinfo->flinfo->fn_extra = cache;
  }
  return cache;
}

static int error_code_of(vfh_error e) {
  switch (e) {
  case VFH_UNKNOWN:
  case VFH_NO_FUNC:
    return ERRCODE_UNDEFINED_OBJECT;
  case VFH_WRONG_KIND:
    return ERRCODE_WRONG_OBJECT_TYPE;
  default:
    return ERRCODE_INVALID_PARAMETER_VALUE;
  }
}

/* Resolves into slot s: built-in names first, the catalogue only when a
 * name is not built in. */
static void resolve_into(VfSlot *s, const char *text, int len, bool informat,
                         MemoryContext mcxt) {
  char message[VFH_MESSAGE];
  fmtcontext ctx;
  fmtinmemory mem;
  vfh_error e = vfh_resolve(&s->f, text, (size_t)len, informat, NULL, message);
  if (e == VFH_UNKNOWN) {
    const fmtcontext *c = catalog_context(&ctx, &mem);
    if (c != NULL)
      e = vfh_resolve(&s->f, text, (size_t)len, informat, c, message);
  }
  if (e != VFH_OK)
    ereport(ERROR, (errcode(error_code_of(e)), errmsg("valfmt: %s", message)));
  {
    /* the widest result: w or the widest an informat reads, as 16-bit
     * text */
    int32 w = s->f.w >= 0 ? s->f.w : (int32)s->f.attrs.maxw;
    if (w < s->f.attrs.defw) w = s->f.attrs.defw;
    if (w < VF_MIN_OUT) w = VF_MIN_OUT;
    s->outsize = 2 * w + 16;
    s->out = MemoryContextAlloc(mcxt, (Size)s->outsize);
  }
  if (len <= VFH_TEXT_MAX) {
    memcpy(s->key, text, (size_t)len);
    s->keylen = len;
    s->generation = catalog_generation;
  }
}

/* The resolved format for the format argument (argument 1). */
static VfSlot *format_arg(FunctionCallInfo fcinfo, bool informat) {
  VfCache *cache;
  text *t;
  const char *p;
  int len;
  VfSlot *s;
  if (PG_ARGISNULL(1))
    ereport(ERROR, (errcode(ERRCODE_NULL_VALUE_NOT_ALLOWED),
                    errmsg("valfmt: the format text is null")));
  cache = cache_of(fcinfo);
  t = PG_GETARG_TEXT_PP(1);
  p = VARDATA_ANY(t);
  {
    /* texts that trim alike resolve alike: the trimmed text is the key,
     * and any usable text fits one */
    size_t n = VARSIZE_ANY_EXHDR(t);
    vfh_trim(&p, &n);
    len = (int)n;
  }
  for (int i = 0; i < VF_SLOTS; ++i) {
    s = &cache->slots[i];
    if (s->generation == catalog_generation && s->keylen == len &&
        memcmp(s->key, p, (size_t)len) == 0)
      return s;
  }
  s = &cache->slots[cache->next];
  cache->next = (cache->next + 1) % VF_SLOTS;
  vfh_release(&s->f);
  if (s->out != NULL) pfree(s->out);
  s->out = NULL;
  s->generation = 0;
  /* a text longer than a key names nothing and raises an error */
  resolve_into(s, p, len, informat, fcinfo->flinfo->fn_mcxt);
  return s;
}

/* ------------------------------------------------------------------ */
/* Calls and results.                                                  */

static void check_status(const VfSlot *s, int32 st) {
  char message[VFH_MESSAGE];
  if (!vfh_is_error(st)) return;
  vfh_status_message(&s->f, st, message);
  ereport(ERROR, (errcode(ERRCODE_INVALID_PARAMETER_VALUE),
                  errmsg("valfmt: %s", message)));
}

/* The call's text result in the database's encoding. */
static text *result_text(const VfSlot *s, const fmtcall *c) {
  int32 n =
      c->outlen < 0 ? 0 : (c->outlen > c->outsize ? c->outsize : c->outlen);
  const char *out = (const char *)c->out;
  char *utf8;
  size_t len;
  char *server;
  text *result;
  if (c->outenc != VF_ENC_UCS2) {
    if (vfh_has_nul(out, n))
      ereport(ERROR, (errcode(ERRCODE_CHARACTER_NOT_IN_REPERTOIRE),
                      errmsg("valfmt: format \"%s\" gives bytes, not text",
                             s->f.text)));
    if (vfh_ascii(out, (size_t)n)) return cstring_to_text_with_len(out, n);
  }
  utf8 = palloc((Size)n * 3 + 1);
  len = vfh_result_to_utf8(out, n, c->outenc, utf8);
  utf8[len] = '\0';
  server = pg_any_to_server(utf8, (int)len, PG_UTF8);
  result = cstring_to_text(server);
  return result;
}

/* The library's standard missing value ('.'), the form a NaN is shown in. */
static double vf_standard_missing(void) {
  const uint64 bits = UINT64CONST(0xFFFFFE0000000000);
  double v;
  memcpy(&v, &bits, sizeof v);
  return v;
}

static void init_call(fmtcall *c, const VfSlot *s, int32 w) {
  memset(c, 0, sizeof *c);
  c->w = w;
  c->d = s->f.d;
  c->out = s->out;
  c->outsize = s->outsize;
  c->localeid = locale_id;
  c->reqenc = VF_ENC_UTF8; /* results come back as produced */
}

static Datum put_number(FunctionCallInfo fcinfo, VfSlot *s, double v) {
  fmtcall c;
  int32 st;
  if (isnan(v)) v = vf_standard_missing();
  if (s->f.character)
    ereport(ERROR, (errcode(ERRCODE_DATATYPE_MISMATCH),
                    errmsg("valfmt: format \"%s\" shows text, not numbers",
                           s->f.text)));
  init_call(&c, s, vfh_width(&s->f, 0));
  c.value = &v;
  c.valuelen = (int32)sizeof v;
  st = xffmt(&c, s->f.handle);
  check_status(s, st);
  PG_RETURN_TEXT_P(result_text(s, &c));
}

/* Character input of the call: user formats read UTF-8; built-in names
 * narrow Windows-1252 when it holds the text, else UCS-2 (formats) or an
 * error (informats read bytes). */
static void char_input(fmtcall *c, const VfSlot *s, text *t) {
  const char *server = VARDATA_ANY(t);
  const int slen = (int)VARSIZE_ANY_EXHDR(t);
  const char *p = pg_server_to_any(server, slen, PG_UTF8);
  const size_t n = p == server ? (size_t)slen : strlen(p);
  char *narrow;
  ptrdiff_t m;
  uint16_t *wide;
  c->value = p;
  c->valuelen = (int32)n;
  if (s->f.user) {
    c->inenc = VF_ENC_UTF8;
    return;
  }
  if (vfh_ascii(p, n)) return;
  narrow = palloc(n + 1);
  m = vfh_utf8_to_cp1252(p, n, narrow);
  if (m >= 0) {
    c->value = narrow;
    c->valuelen = (int32)m;
    return;
  }
  pfree(narrow);
  if (s->f.informat && s->f.character)
    ereport(ERROR,
            (errcode(ERRCODE_UNTRANSLATABLE_CHARACTER),
             errmsg("valfmt: informat \"%s\" reads Windows-1252 characters "
                    "only",
                    s->f.text)));
  if (s->f.informat) return; /* the bytes as they are: not a number */
  wide = palloc(n * sizeof(uint16_t) + 2);
  c->value = wide;
  c->valuelen = (int32)vfh_utf8_to_ucs2(p, n, wide);
  c->inenc = VF_ENC_UCS2;
}

/* ------------------------------------------------------------------ */
/* vf_put                                                              */

PG_FUNCTION_INFO_V1(vf_put_float8);
PG_FUNCTION_INFO_V1(vf_put_numeric);
PG_FUNCTION_INFO_V1(vf_put_date);
PG_FUNCTION_INFO_V1(vf_put_timestamp);
PG_FUNCTION_INFO_V1(vf_put_time);
PG_FUNCTION_INFO_V1(vf_put_text);

Datum vf_put_float8(PG_FUNCTION_ARGS) {
  VfSlot *s = format_arg(fcinfo, false);
  if (PG_ARGISNULL(0)) PG_RETURN_NULL();
  return put_number(fcinfo, s, PG_GETARG_FLOAT8(0));
}

Datum vf_put_numeric(PG_FUNCTION_ARGS) {
  VfSlot *s = format_arg(fcinfo, false);
  if (PG_ARGISNULL(0)) PG_RETURN_NULL();
  return put_number(
      fcinfo, s,
      DatumGetFloat8(DirectFunctionCall1(numeric_float8, PG_GETARG_DATUM(0))));
}

Datum vf_put_date(PG_FUNCTION_ARGS) {
  VfSlot *s = format_arg(fcinfo, false);
  DateADT d;
  if (PG_ARGISNULL(0)) PG_RETURN_NULL();
  d = PG_GETARG_DATEADT(0);
  if (DATE_NOT_FINITE(d))
    ereport(ERROR, (errcode(ERRCODE_DATETIME_VALUE_OUT_OF_RANGE),
                    errmsg("valfmt: an infinite date has no day number")));
  return put_number(fcinfo, s, (double)d + VF_DAYS_1960_TO_2000);
}

Datum vf_put_timestamp(PG_FUNCTION_ARGS) {
  VfSlot *s = format_arg(fcinfo, false);
  Timestamp ts;
  int64 sec, usec;
  if (PG_ARGISNULL(0)) PG_RETURN_NULL();
  ts = PG_GETARG_TIMESTAMP(0);
  if (TIMESTAMP_NOT_FINITE(ts))
    ereport(ERROR,
            (errcode(ERRCODE_DATETIME_VALUE_OUT_OF_RANGE),
             errmsg("valfmt: an infinite timestamp has no second count")));
  sec = ts / USECS_PER_SEC;
  usec = ts % USECS_PER_SEC;
  if (usec < 0) usec += USECS_PER_SEC, --sec;
  return put_number(fcinfo, s,
                    (double)(sec + VF_SECONDS_1960_TO_2000) +
                        (double)usec / USECS_PER_SEC);
}

Datum vf_put_time(PG_FUNCTION_ARGS) {
  VfSlot *s = format_arg(fcinfo, false);
  if (PG_ARGISNULL(0)) PG_RETURN_NULL();
  return put_number(fcinfo, s, (double)PG_GETARG_TIMEADT(0) / USECS_PER_SEC);
}

Datum vf_put_text(PG_FUNCTION_ARGS) {
  VfSlot *s = format_arg(fcinfo, false);
  fmtcall c;
  int32 st;
  if (PG_ARGISNULL(0)) PG_RETURN_NULL();
  if (!s->f.character)
    ereport(ERROR, (errcode(ERRCODE_DATATYPE_MISMATCH),
                    errmsg("valfmt: format \"%s\" shows numbers, not text",
                           s->f.text)));
  init_call(&c, s, vfh_width(&s->f, 0));
  char_input(&c, s, PG_GETARG_TEXT_PP(0));
  st = xffmt(&c, s->f.handle);
  check_status(s, st);
  PG_RETURN_TEXT_P(result_text(s, &c));
}

/* ------------------------------------------------------------------ */
/* vf_input                                                            */

/* The width of an informat call over c's input. */
static int32 informat_width(const VfSlot *s, const fmtcall *c) {
  char message[VFH_MESSAGE];
  if (vfh_too_long(&s->f, (size_t)c->valuelen, message))
    ereport(ERROR, (errcode(ERRCODE_STRING_DATA_RIGHT_TRUNCATION),
                    errmsg("valfmt: %s", message)));
  return vfh_width(&s->f, (size_t)c->valuelen);
}

/* Reads the text argument with a numeric informat; false for a missing
 * value. */
static bool read_number(FunctionCallInfo fcinfo, VfSlot *s, double *v) {
  fmtcall c;
  int32 st;
  if (s->f.character)
    ereport(ERROR,
            (errcode(ERRCODE_DATATYPE_MISMATCH),
             errmsg("valfmt: informat \"%s\" reads text; use vf_input_char",
                    s->f.text)));
  init_call(&c, s, 0);
  char_input(&c, s, PG_GETARG_TEXT_PP(0));
  c.w = informat_width(s, &c);
  c.out = v;
  c.outsize = (int32)sizeof *v;
  c.reqenc = VF_ENC_NARROW;
  *v = 0;
  st = xffmt(&c, s->f.handle);
  check_status(s, st);
  return !zmiss(*v);
}

PG_FUNCTION_INFO_V1(vf_input_float8);
PG_FUNCTION_INFO_V1(vf_input_char);
PG_FUNCTION_INFO_V1(vf_input_date);
PG_FUNCTION_INFO_V1(vf_input_timestamp);

Datum vf_input_float8(PG_FUNCTION_ARGS) {
  VfSlot *s = format_arg(fcinfo, true);
  double v;
  if (PG_ARGISNULL(0)) PG_RETURN_NULL();
  if (!read_number(fcinfo, s, &v)) PG_RETURN_NULL();
  PG_RETURN_FLOAT8(v);
}

Datum vf_input_char(PG_FUNCTION_ARGS) {
  VfSlot *s = format_arg(fcinfo, true);
  fmtcall c;
  int32 st;
  if (PG_ARGISNULL(0)) PG_RETURN_NULL();
  if (!s->f.character)
    ereport(ERROR,
            (errcode(ERRCODE_DATATYPE_MISMATCH),
             errmsg("valfmt: informat \"%s\" reads numbers; use vf_input",
                    s->f.text)));
  init_call(&c, s, 0);
  char_input(&c, s, PG_GETARG_TEXT_PP(0));
  c.w = informat_width(s, &c);
  st = xffmt(&c, s->f.handle);
  check_status(s, st);
  PG_RETURN_TEXT_P(result_text(s, &c));
}

Datum vf_input_date(PG_FUNCTION_ARGS) {
  VfSlot *s = format_arg(fcinfo, true);
  double v, day;
  if (PG_ARGISNULL(0)) PG_RETURN_NULL();
  if (!read_number(fcinfo, s, &v)) PG_RETURN_NULL();
  day = floor(v) - VF_DAYS_1960_TO_2000;
  if (!isfinite(v) || day < DATETIME_MIN_JULIAN - POSTGRES_EPOCH_JDATE ||
      day >= DATE_END_JULIAN - POSTGRES_EPOCH_JDATE)
    ereport(ERROR, (errcode(ERRCODE_DATETIME_VALUE_OUT_OF_RANGE),
                    errmsg("valfmt: %g is not a day number of a date", v)));
  PG_RETURN_DATEADT((DateADT)day);
}

Datum vf_input_timestamp(PG_FUNCTION_ARGS) {
  VfSlot *s = format_arg(fcinfo, true);
  double v, us;
  Timestamp ts;
  if (PG_ARGISNULL(0)) PG_RETURN_NULL();
  if (!read_number(fcinfo, s, &v)) PG_RETURN_NULL();
  us = rint((v - (double)VF_SECONDS_1960_TO_2000) * USECS_PER_SEC);
  if (!isfinite(us) || us < (double)MIN_TIMESTAMP ||
      us >= (double)END_TIMESTAMP)
    ereport(ERROR,
            (errcode(ERRCODE_DATETIME_VALUE_OUT_OF_RANGE),
             errmsg("valfmt: %g is not a second count of a timestamp", v)));
  ts = (Timestamp)us;
  PG_RETURN_TIMESTAMP(ts);
}

/* ------------------------------------------------------------------ */
/* vf_load_catalog                                                     */

PG_FUNCTION_INFO_V1(vf_load_catalog);

Datum vf_load_catalog(PG_FUNCTION_ARGS) {
  text *t = PG_GETARG_TEXT_PP(0);
  char *xml = text_to_cstring(t);
  const int32 rc = vfh_check_catalog(xml, strlen(xml));
  if (rc != 0) raise_catalog_error("given to vf_load_catalog", rc);
  (void)set_config_option("valfmt.catalog_text", xml, PGC_USERSET,
                          PGC_S_SESSION, GUC_ACTION_SET, true, 0, false);
  pfree(xml);
  PG_RETURN_VOID();
}
