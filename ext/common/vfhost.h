/*
 * vfhost.h - what the database extensions share: reading a format text as
 * hosts write it, resolving it once into a handle kept by the caller,
 * preparing character input and turning any result into UTF-8.
 *
 * Plain C11, no allocation: every buffer is the caller's.  Each host (the
 * PostgreSQL and SQLite extensions) raises its own errors from the codes
 * and messages returned here.
 */
#ifndef VFHOST_H
#define VFHOST_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "valfmt.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VFH_NAME_MAX 32 /* longest name the library resolves */
#define VFH_TEXT_MAX 64 /* longest format text kept for messages */
#define VFH_MESSAGE 256 /* room for any message built here */

/* Why a format text could not be used. */
typedef enum vfh_error {
  VFH_OK = 0,
  VFH_EMPTY,     /* empty or blank format text */
  VFH_SYNTAX,    /* not NAME, NAMEw., NAMEw.d */
  VFH_UNKNOWN,   /* resolution found nothing */
  VFH_NO_FUNC,   /* a name without an implementation */
  VFH_LIMITS,    /* w or d outside the name's limits */
  VFH_WRONG_KIND /* informat where a format is wanted, or the reverse */
} vfh_error;

/* One resolved format, in storage the host keeps (never moved: a handle in
 * caller storage holds its own address). */
typedef struct vfh_format {
  char text[VFH_TEXT_MAX + 1]; /* the format text as given, for messages */
  char name[VFH_NAME_MAX + 1]; /* upper case, without '@' */
  int32_t namelen;
  int32_t w; /* -1 when the text gives none */
  int32_t d;
  bool informat;  /* resolved as an informat */
  bool character; /* reads character input ('$' name) */
  bool user;      /* a user-defined format from the catalogue */
  bool builtin;   /* a built-in name (limits apply) */
  fmtattr attrs;
  fmthandle_storage storage;
  fmthandle *handle; /* null until resolved */
} vfh_format;

/* Drops the blanks around a format text (*text and *len move).  Two
 * texts that trim alike parse alike, so the trimmed text is the key under
 * which a host caches a resolution; a usable text trims to at most
 * VFH_TEXT_MAX bytes. */
void vfh_trim(const char **text, size_t *len);

/* Reads "NAME", "NAMEw.", "NAMEw.d" or ".d" forms, blanks around ignored,
 * a leading '@' for an informat, any case.  Fills text, name, w, d and
 * informat of `f`. */
vfh_error vfh_parse(const char *text, size_t len, vfh_format *f);

/* Parses and resolves `text` (ctx: the catalogue, or null).  `want_informat`
 * says what the caller needs; an informat text is accepted with or without
 * '@' by an informat caller.  On any error `message` (VFH_MESSAGE bytes)
 * says what went wrong and `f->handle` stays null. */
vfh_error vfh_resolve(vfh_format *f, const char *text, size_t len,
                      bool want_informat, const fmtcontext *ctx, char *message);

/* Releases the handle of a resolved format (no-op otherwise). */
void vfh_release(vfh_format *f);

/* The width a call uses: the text's own, else the default width; an
 * informat without a width reads the whole value, within its limits. */
int32_t vfh_width(const vfh_format *f, size_t valuelen);

/* True when an informat without a width is handed a text longer than its
 * largest width: reading only the start of it would give a wrong value, so
 * the hosts refuse it; `message` (VFH_MESSAGE bytes) says so. */
bool vfh_too_long(const vfh_format *f, size_t valuelen, char *message);

/* "valfmt: format \"F8.2\": words (status 0x8001D815)" for an error
 * status of a call. */
void vfh_status_message(const vfh_format *f, int32_t status, char *message);

/* The status in words (the library's own status table). */
const char *vfh_status_words(int32_t status);

/* True when the top bit of a call status is set. */
static inline bool vfh_is_error(int32_t status) {
  return status < 0;
}

/* True when all n bytes are ASCII. */
bool vfh_ascii(const char *s, size_t n);

/* UTF-8 text as Windows-1252 bytes into dst (n bytes at most): returns the
 * byte count, or -1 when a character has no byte there.  Malformed UTF-8
 * gives -1 too. */
ptrdiff_t vfh_utf8_to_cp1252(const char *s, size_t n, char *dst);

/* UTF-8 text as UCS-2 units into dst (n units at most); a character
 * outside the 16-bit range or a malformed sequence becomes U+FFFD.
 * Returns the unit count. */
size_t vfh_utf8_to_ucs2(const char *s, size_t n, uint16_t *dst);

/* A call's result as UTF-8: narrow text is Windows-1252, outenc 25 is
 * UCS-2.  dst takes 3 * outlen bytes at most.  Returns the byte count. */
size_t vfh_result_to_utf8(const void *out, int32_t outlen, uint32_t outenc,
                          char *dst);

/* True when a narrow result holds a NUL byte: the bytes of a machine
 * representation, not text. */
bool vfh_has_nul(const void *out, int32_t outlen);

/* Validates an XML catalogue text: 0 when it reads through, else the
 * reader's negative code. */
int32_t vfh_check_catalog(const char *xml, size_t len);

/* The reader's code in words. */
const char *vfh_catalog_words(int32_t code);

#ifdef __cplusplus
}
#endif

#endif /* VFHOST_H */
