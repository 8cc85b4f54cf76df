/*
 * valfmt.h - the public C interface of the valfmt value-format library.
 *
 * A host resolves a format or informat name once into a handle (xfname3),
 * then renders or reads values one call block at a time (xffmt), and
 * releases the handle (xfdel).  Every structure below is part of the binary
 * interface: offsets and sizes are fixed and checked at compile time.
 *
 * The decisions this library takes where the interface leaves room are
 * listed once, in the README ("Decisions where the interface leaves room").
 *
 * Compiles as C11 and as C++20.
 */
#ifndef VALFMT_H
#define VALFMT_H

#include <stddef.h>
#include <stdint.h>

#if defined(VALFMT_BUILDING)
#define VF_API __attribute__((visibility("default")))
#else
#define VF_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------
 * Status codes.  0 is success; 2 is a warning whose text is complete; any
 * value with the top bit set is an error.
 * ---------------------------------------------------------------------- */
#define VF_STATUS(x) ((int32_t)(uint32_t)(x))

#define VF_OK 0
#define VF_NOT_FOUND 1       /* name not found; LOGPROB of a negative value */
#define VF_WARN 2            /* fewer decimals, scientific form, cut text */
#define VF_WARN_RANGE 0x2001 /* value out of range, saturated or missing */
#define VF_ISO_SHORT 22      /* ISO 8601 reader: output under 16 chars */
#define VF_ISO_UNFIT 27      /* ISO 8601 text that cannot be fitted */
#define VF_NL_W_SMALL 0x27   /* locale formats: w too small */
#define VF_NL_W_LARGE 0x28   /* locale formats: w too large */
#define VF_NL_D_NEG 0x29     /* locale formats: d negative */
#define VF_NL_D_LARGE 0x2a   /* locale formats: d too large */
#define VF_NO_FIT (-1)       /* E: no form fits; labels that do not fit */

/* shared numeric routines */
#define VF_ERR_INVALID_DATA VF_STATUS(0x80002006u)
#define VF_ERR_NOTHING_TO_READ VF_STATUS(0x8000200Au)
#define VF_ERR_OVERFLOW VF_STATUS(0x8000200Du)
#define VF_ERR_BAD_HEX VF_STATUS(0x80002021u)
#define VF_ERR_WD_LIMITS VF_STATUS(0x80002022u)
#define VF_ERR_BINARY_FIT VF_STATUS(0x80002023u)

/* formats and informats */
#define VF_ERR_DATE_TEXT VF_STATUS(0x8001D814u)
#define VF_ERR_DATE_RANGE VF_STATUS(0x8001D815u)
#define VF_ERR_DATE_NO_DIGIT VF_STATUS(0x8001D816u)
#define VF_ERR_DATE_DAY VF_STATUS(0x8001D817u)
#define VF_ERR_DATE_YEAR VF_STATUS(0x8001D818u)
#define VF_ERR_TIME_TEXT VF_STATUS(0x8001D819u)
#define VF_ERR_TIME_HOURS VF_STATUS(0x8001D81Au)
#define VF_ERR_TIME_MINUTES_EMPTY VF_STATUS(0x8001D81Bu)
#define VF_ERR_TIME_MINUTES VF_STATUS(0x8001D81Cu)
#define VF_ERR_BAD_OCTAL VF_STATUS(0x8001D81Du)
#define VF_ERR_OCTAL_BYTE VF_STATUS(0x8001D81Eu)
#define VF_ERR_BAD_PACKED VF_STATUS(0x8001D81Fu)
#define VF_ERR_BAD_ZONED VF_STATUS(0x8001D820u)
#define VF_ERR_AMPM VF_STATUS(0x8001D821u)
#define VF_ERR_PAREN_POSITION VF_STATUS(0x8001D822u)
#define VF_ERR_PAREN_TWICE VF_STATUS(0x8001D823u)
#define VF_ERR_NO_ROOM VF_STATUS(0x8001D825u)
#define VF_ERR_OUTSIZE VF_STATUS(0x8001D826u)
#define VF_ERR_WIDTH VF_STATUS(0x8001D827u)
#define VF_ERR_SIGN VF_STATUS(0x8001D828u)
#define VF_ERR_BAD_INPUT VF_STATUS(0x8001D829u)
/* access layer: a handle without a function or evaluator */
#define VF_ERR_NO_FUNCTION VF_STATUS(0x8001D830u)
/* access layer: null call block or null handle */
#define VF_ERR_BAD_CALL VF_STATUS(0x8001D831u)

/* ------------------------------------------------------------------------
 * Encoding identifiers acted on by the access layer.
 * ---------------------------------------------------------------------- */
#define VF_ENC_NARROW 0u
#define VF_ENC_UTF8 20u
#define VF_ENC_UCS2BE 24u
#define VF_ENC_UCS2 25u

/* Resolution kind of an informat request ('I'); any other is a format. */
#define VF_KIND_INFORMAT 73

/* options bits of the call block */
#define VF_OPT_CHECK_WD 0x1u      /* locale formats: check w and d */
#define VF_OPT_D_INNER 0x2u       /* set by D around its inner call */
#define VF_OPT_MULTILABEL 0x4u    /* user formats: collect every label */
#define VF_OPT_DEFAULT_SHOWN 0x8u /* user formats: value shown by default */

/* ------------------------------------------------------------------------
 * The call block: one request, 80 bytes.  A 64-byte older form (the first
 * 64 bytes) is accepted through library-allocated handles.
 * ---------------------------------------------------------------------- */
typedef struct fmtcall {
  int32_t w;           /*  0 width (formats) / characters to read */
  int32_t d;           /*  4 decimals, or a decimals code */
  const void *value;   /*  8 input: double, or characters */
  int32_t valuelen;    /* 16 characters of a character input */
  int32_t reserved20;  /* 20 */
  void *out;           /* 24 output buffer */
  int32_t outsize;     /* 32 capacity of out in bytes */
  int32_t outlen;      /* 36 bytes produced (set by the callee) */
  uint64_t reserved40; /* 40 */
  uint64_t hostword;   /* 48 never interpreted; copied to inner blocks */
  uint32_t options;    /* 56 VF_OPT_* bits */
  int32_t localeid;    /* 60 locale record number, 1..133 */
  uint32_t inenc;      /* 64 encoding of a character input */
  uint32_t reqenc;     /* 68 encoding wanted for the result */
  uint32_t outenc;     /* 72 encoding produced (set by the callee) */
  uint32_t reserved76; /* 76 */
} fmtcall;

/* A format or informat function: one call block in, a status out. */
typedef int32_t (*fmtfn)(fmtcall *call);

/* The format descriptor: 48 bytes per built-in name. */
typedef struct fmtinfo_eachfmt {
  char name[16];    /*  0 upper case, blank padded, not terminated */
  uint32_t namelen; /* 16 */
  uint16_t minw;    /* 20 */
  uint16_t maxw;    /* 22 */
  uint16_t defw;    /* 24 */
  uint16_t flag1;   /* 26 locale-sensitive */
  uint16_t flag2;   /* 28 PVALUE, NLPVALUE, @PUNCH */
  uint16_t maxd;    /* 30 */
  uint64_t aux;     /* 32 returned to the caller with the widths */
  fmtfn fn;         /* 40 null for separators and unbuilt names */
} fmtinfo_eachfmt;

/* The module record returned by each module entry function. */
typedef struct fmtinfo {
  uint32_t count;               /* 0 descriptors in the module */
  const fmtinfo_eachfmt *first; /* 8 first descriptor */
} fmtinfo;

typedef const fmtinfo *(*fmtmodule_entry)(void);

/* One row of the module-entry table. */
typedef struct fmtmodule_row {
  const char *name;      /* terminated module name */
  fmtmodule_entry entry; /* its entry function */
} fmtmodule_row;

/* One row of the global name table fmtposs: 80 bytes. */
typedef struct fmtposs_row {
  uint64_t link;       /*  0 0 in the table; self pointer in a handle */
  char modname[16];    /*  8 NUL terminated; first byte is the kind */
  uint64_t modnamelen; /* 24 8 for every row */
  char fmtname[16];    /* 32 blank padded */
  uint32_t fmtnamelen; /* 48 */
  uint8_t rest[28];    /* 52 0 */
} fmtposs_row;

/* Built-in and pseudo-format handle: 80 bytes. */
typedef struct fmthandle {
  void *self;           /*  0 own address in caller storage, else 0 */
  char modname[16];     /*  8 first byte: 'J' built-in, ' ' pseudo */
  uint64_t modnamelen;  /* 24 */
  fmtinfo_eachfmt desc; /* 32 descriptor copy; fn at offset 72 */
} fmthandle;

/* User-format evaluator: call block, catalogue entry, range table. */
typedef int32_t (*fmtevaluator)(fmtcall *call, const void *entry,
                                void *const *ranges);

/* User-format handle: 144 bytes; kind '-' numeric, '+' character. */
typedef struct fmtuhandle {
  void *self;             /*   0 own address */
  char kind;              /*   8 '-' or '+' */
  char pad9[31];          /*   9 */
  int32_t marker;         /*  40 always 1 */
  int32_t pad44;          /*  44 */
  char name[32];          /*  48 the name as requested */
  int32_t namelen;        /*  80 */
  uint16_t minw;          /*  84 */
  uint16_t maxw;          /*  86 */
  uint16_t defw;          /*  88 */
  uint8_t pad90[14];      /*  90 */
  fmtevaluator evaluator; /* 104 */
  const void *entry;      /* 112 catalogue entry */
  void *const *ranges;    /* 120 range table, or null */
  void *blockhead;        /* 128 first block owned */
  void *blocktail;        /* 136 last block owned */
} fmtuhandle;

/* Caller storage large enough for any handle kind (144 bytes). */
typedef union fmthandle_storage {
  fmthandle builtin;
  fmtuhandle user;
  unsigned char bytes[144];
} fmthandle_storage;

/* The attribute record that resolution fills: eight u16 values. */
typedef struct fmtattr {
  uint16_t minw, maxw, defw, flag1, flag2, maxd, aux_lo, aux_hi;
} fmtattr;

/* The in-memory catalogue text: "INMEMORY", the XML text, its length. */
typedef struct fmtinmemory {
  char marker[8];   /*  0 "INMEMORY" */
  const char *text; /*  8 */
  int32_t length;   /* 16 */
  int32_t pad20;    /* 20 */
} fmtinmemory;

/* Catalogue kinds of the context's kind byte. */
#define VF_CATALOG_RESIDENT 5

/* The catalogue context: 152 bytes; resolution works on a copy. */
typedef struct fmtcontext {
  uint8_t reserved0[72];       /*   0 */
  const void *entry;           /*  72 in: held entry; out: entry found */
  void *const *ranges;         /*  80 range table of that entry */
  uint8_t reserved88[8];       /*  88 */
  const fmtinmemory *inmemory; /*  96 in-memory text, or null */
  void *cookie;                /* 104 reader cookie, not interpreted */
  uint8_t reserved112[33];     /* 112 */
  uint8_t catkind;             /* 145 catalogue kind */
  uint8_t reserved146[6];      /* 146 */
} fmtcontext;

/* ------------------------------------------------------------------------
 * Access layer.
 * ---------------------------------------------------------------------- */
VF_API int32_t xfinit(void);
VF_API int32_t xfinit2(void);
VF_API int32_t xfname3(const char *name, int32_t namelen, int32_t kind,
                       fmtattr *attrs, fmthandle **slot, const fmtcontext *ctx);
VF_API int32_t xfname(const char *name, int32_t namelen, int32_t kind,
                      fmtattr *attrs, fmthandle **slot);
VF_API int32_t xfname2(const char *name, int32_t namelen, int32_t kind,
                       fmtattr *attrs, fmthandle **slot, const fmtcontext *ctx);
VF_API int32_t xffmt(fmtcall *call, fmthandle *handle);
VF_API int32_t xfdel(fmthandle *handle);
VF_API void *xfmalloc(void ***tail, int64_t size);
VF_API void xffree(void *block);
VF_API int32_t setfptr(const void *entry, fmtuhandle *handle);
VF_API const fmtinfo *xfload(void *anchor, const char *modname, int32_t len,
                             int32_t *status);
VF_API int32_t getep(void *anchor, const char *modname, int32_t len,
                     fmtmodule_entry *entry);
VF_API void *get_fmt_cntl_anchor(void);
VF_API int32_t zstrip(const char *text, int32_t len);
VF_API int32_t get_fmt_poss_table(const fmtposs_row **table, int32_t *count);
VF_API int32_t zmiss(double x);
VF_API double ZMISSV(int32_t k);
VF_API int32_t zfmmiss(fmtcall *call);
VF_API int32_t getUCS2ResultFromNarrowCharBufForInDB(
    int32_t hostenc, uint32_t reqenc, uint32_t *outenc, void *text,
    int32_t *len, int32_t width, int32_t capacity);

/* The name table (518 rows) and the module-entry table (10 rows). */
extern VF_API const fmtposs_row fmtposs[518];
extern VF_API const fmtmodule_row names_and_entries[10];

/* Module entry functions. */
VF_API const fmtinfo *jazwfbin(void);
VF_API const fmtinfo *jazwfdte(void);
VF_API const fmtinfo *jazwfmsc(void);
VF_API const fmtinfo *jazwfnls(void);
VF_API const fmtinfo *jazwftme(void);
VF_API const fmtinfo *jazwfuwf(void);
VF_API const fmtinfo *jazwibin(void);
VF_API const fmtinfo *jazwidte(void);
VF_API const fmtinfo *jazwimsc(void);
VF_API const fmtinfo *jazwiuwi(void);

/* Pseudo-formats. */
VF_API int32_t zfmcrash(fmtcall *call);
VF_API int32_t zfmvernum(fmtcall *call);
VF_API int32_t zfmintrns(fmtcall *call);

/* ------------------------------------------------------------------------
 * Character encodings.
 * ---------------------------------------------------------------------- */
VF_API int32_t LATIN1ToUNICODE(const uint8_t *src, int32_t srclen,
                               uint16_t *dst, int32_t dstcap, int32_t *nunits);
VF_API int32_t UNICODEToUTF8(const uint16_t *src, int32_t srcbytes,
                             uint8_t *dst, int32_t dstcap, int32_t *nunits,
                             int32_t *nbytes);
VF_API int32_t UTF8ToUNICODE(const uint8_t *src, int32_t srclen, uint16_t *dst,
                             int32_t dstcap, int32_t *nunits, int32_t *nbytes);
VF_API void UPCASE(uint16_t *units, int32_t count);
VF_API void LOWCASE(uint16_t *units, int32_t count);
VF_API int32_t EncnameToID(char *name, int32_t len, uint32_t *id);
/* How characters take bytes in encoding id (0..229; others give 0). */
VF_API uint32_t EncodingMethod(uint32_t id);
VF_API int32_t NLSNUMCHAR(const uint16_t *units, int32_t count, uint32_t enc,
                          int32_t budget);

/* ------------------------------------------------------------------------
 * Format and informat functions.
 *
 * Every function a descriptor names (fmtinfo_eachfmt::fn) is exported
 * under that name with the signature of fmtfn, so a host may also call it
 * directly with a call block: zfmt (the fixed renderer and F: w columns, d
 * read as a decimals code: 0..32 decimals, 99 best, 98 and 80..89
 * significant digits, -999 E, other negatives scientific), zfmdate,
 * wzifmn (the standard numeric reader of @F and @E) ...  `valfmt list`
 * shows every name with its function.  Besides those:
 * ---------------------------------------------------------------------- */
VF_API int32_t zfmn(fmtcall *call);    /* zfmt with the caller's d */
VF_API int32_t zifmkmg(fmtcall *call); /* the @SIZEKMG reader */
/* ISO 8601 readers: a duration, a point in time, an interval (start/end,
 * start/duration or duration/end) into packed hexadecimal digits (16, or
 * 32 for an interval) at out; d 256 also reads a missing-value notation. */
VF_API int32_t is8601dui(fmtcall *call);
VF_API int32_t is8601pdi(fmtcall *call);
VF_API int32_t is8601vli(fmtcall *call);
/* Transport readers, the reverse of XPORTINT, $XPORTCH and XPORTFLT. */
VF_API int32_t xprtiin(fmtcall *call);
VF_API int32_t xprtich(fmtcall *call);
VF_API int32_t xprtifl(fmtcall *call);

/* ------------------------------------------------------------------------
 * Calendar routines and date formats.
 * ---------------------------------------------------------------------- */
/* Date values count days from 1 January 1960 (valid: -138061, 1 January
 * 1582, to 6589335, 31 December 20000); datetime values count seconds from
 * its midnight; a Julian date is yyyyddd.  Two-digit years 50..99 are
 * 1950..1999, 0..49 are 2000..2049.  Invalid input gives the standard
 * missing value. */
struct tm;

/* Days per month, February 0; and 31 English names: the months (0..11),
 * the upper-case month abbreviations (12..23), the weekdays (24..30). */
extern VF_API const int32_t dpm[12];
extern VF_API const char *const datestgs[31];

VF_API double zjulymd(double year, double month, double day);
VF_API double zdatjul(double julian);
/* Fills year, month and day (all missing on any error); returns 0. */
VF_API int32_t zymdjul(double *year, double *month, double *day, double julian);
VF_API double zjuldat(double date);
VF_API double zmdy(double month, double day, double year);
VF_API double zyyq(double year, double quarter);
VF_API double zyear(double date);
VF_API double zmonth(double date);
VF_API double zday(double date);
VF_API double zqtr(double date);
VF_API double zwekday(double date); /* 1 Sunday .. 7 Saturday */
VF_API double zhms(double hour, double minute, double second);
VF_API double zdhms(double date, double hour, double minute, double second);
VF_API double zhour(double x);
VF_API double zminute(double x);
VF_API double zsecond(double x);
VF_API double zdatprt(double datetime);
VF_API double ztimprt(double datetime);
/* 1 with the parts filled; -1 (parts missing) for a missing or invalid
 * date. */
VF_API int32_t zfmcymd(double *year, double *month, double *day, double date);
/* First step of the date (kind 1), time (2) and datetime (3) formats:
 * 0 in range; 2 missing (the missing display is written); 1 out of range
 * (w asterisks, never more than outsize). */
VF_API int32_t zdatrng(fmtcall *call, int32_t kind);
/* monthbuf takes at least 10 bytes, daybuf 3, yearbuf 6.  A month outside
 * 1..12 gives an empty name; a day outside 0..99 or a year outside
 * 0..99999 is written as asterisks. */
VF_API int32_t zwrdmdy(char *monthbuf, char *daybuf, char *yearbuf,
                       double month, double day, double year);
/* 0 with the record filled; 1 for a missing or invalid date (the record
 * then holds 1 January 1900 at midnight). */
VF_API int32_t zpxdate(struct tm *tm, double date);
/* Whole days and actual/actual years from date1 to date2 (negative when
 * date2 is earlier); 0, or 1 with days 0 and years missing for a missing
 * or invalid date.  Null outputs are skipped. */
VF_API int32_t zdatdif(const void *ignored, int64_t *days, double *years,
                       double date1, double date2);

/* ------------------------------------------------------------------------
 * User-defined formats: catalogue readers and evaluators.
 * ---------------------------------------------------------------------- */
/* Catalogue reader result codes (negative; resolution reports each as
 * "not found"). */
#define VF_CAT_NO_MEMORY (-1)     /* a block could not be allocated */
#define VF_CAT_OUT_OF_PLACE (-2)  /* element out of place */
#define VF_CAT_TOO_LONG (-3)      /* name, label or attribute name too long */
#define VF_CAT_NO_ATTRIBUTE (-4)  /* required attribute missing */
#define VF_CAT_NOT_EXPORT (-5)    /* LIBRARY type is not "EXPORT" */
#define VF_CAT_BAD_LAYOUT (-6)    /* record length or column outside it */
#define VF_CAT_BAD_LINE (-7)      /* line over 255 bytes, or input cut */
#define VF_CAT_EMPTY_TEXT (-8)    /* TYPE, DATATYPE, LENGTH or Offset empty */
#define VF_CAT_BAD_VALUE (-9)     /* unknown TYPE or DATATYPE value */
#define VF_CAT_COMPRESSED (-10)   /* Compression other than "No" */
#define VF_CAT_SORTED (-11)       /* SortAssertion other than "No" */
#define VF_CAT_COLUMN_COUNT (-12) /* COLUMN count differs from Variables */
#define VF_CAT_NO_TABLE (-13)     /* data or table end without a table */
#define VF_CAT_NO_COLUMN (-14)    /* required or named column not declared */
#define VF_CAT_VALUE_LONG (-15)   /* character value longer than its column */
#define VF_CAT_REFUSED (-16)      /* date/time numeric column, or F label */
#define VF_CAT_NOT_FOUND (-17)    /* format not found */
#define VF_CAT_NOT_OPENED (-18)   /* catalogue not opened, or empty */
#define VF_CAT_STOP (-19)         /* internal: requested rows are behind */
#define VF_CAT_SKIPPED (-20)      /* internal: row of another type */

/* Request kinds of the catalogue reader, from the requested name's prefix. */
#define VF_REQ_NUMERIC 1        /* no prefix */
#define VF_REQ_CHARACTER 11     /* '$' */
#define VF_REQ_NUM_INFORMAT 20  /* '@' */
#define VF_REQ_CHAR_INFORMAT 30 /* "@$" */

/* The request record: kind and name with its prefix removed. */
typedef struct fmtrequest {
  int16_t kind;    /*  0 VF_REQ_* */
  int16_t pad2;    /*  2 */
  int32_t namelen; /*  4 */
  char name[32];   /*  8 blank padded */
} fmtrequest;

/* Finds `name` in the catalogue the context names; 0 found (the context's
 * entry and range table are set), else a negative reader code.  Blocks go
 * into the list whose tail pointer is `tail`. */
VF_API int32_t xfrdfmt(void *ignored, const char *name, int32_t len,
                       fmtcontext *ctx, void ***tail);
/* Dispatches on the context's catalogue kind. */
VF_API int32_t xfrdcom(const fmtrequest *req, fmtcontext *ctx, void ***tail);
/* The XML catalogue reader (in-memory text or "cntlout.xml"). */
VF_API int32_t xfrdexp(const fmtrequest *req, fmtcontext *ctx, void ***tail);
/* The memory-resident catalogue (kind 5): an array of entries. */
VF_API int32_t xfrdmnr(const fmtrequest *req, fmtcontext *ctx);
/* Catalogue kinds without a reader: always VF_CAT_NOT_FOUND. */
VF_API int32_t xfrdzox(const fmtrequest *req, fmtcontext *ctx, void ***tail);
VF_API int32_t xfrdxml(const fmtrequest *req, fmtcontext *ctx, void ***tail);
VF_API int32_t xfrdxpt(const fmtrequest *req, fmtcontext *ctx, void ***tail);

/* Evaluators: call block, catalogue entry, range table. */
VF_API int32_t yfpfnfm(fmtcall *call, const void *entry, void *const *ranges);
VF_API int32_t yfpfnfn(fmtcall *call, const void *entry, void *const *ranges);
VF_API int32_t yfpfcfm(fmtcall *call, const void *entry, void *const *ranges);
VF_API int32_t yfpfcfn(fmtcall *call, const void *entry, void *const *ranges);
VF_API int32_t yfpfnfs(fmtcall *call, const void *entry, void *const *ranges);
VF_API int32_t yfpfnfr(fmtcall *call, const void *entry, void *const *ranges);
VF_API int32_t yfpfcfs(fmtcall *call, const void *entry, void *const *ranges);
VF_API int32_t yfpfcfr(fmtcall *call, const void *entry, void *const *ranges);
VF_API int32_t yfpfcfx(fmtcall *call, const void *entry, void *const *ranges);
VF_API int32_t yfpfcfy(fmtcall *call, const void *entry, void *const *ranges);
VF_API int32_t yfpfcfz(fmtcall *call, const void *entry, void *const *ranges);

/* ------------------------------------------------------------------------
 * Euro conversions: the state every euro format reads.  It is constant
 * from load on (no set-up, safe from any thread); both accessors return it.
 * ---------------------------------------------------------------------- */
typedef struct euro_reentstr {
  const double *rates;    /*  0 26 rates: units of currency k per euro */
  const char *currencies; /*  8 "EUR ATS ... SIT ": code of k at 4k */
  int32_t currencieslen;  /* 16 104 */
  char eurochar;          /* 20 the euro character, 'E' */
  char pad21[3];          /* 21 */
} euro_reentstr;

VF_API const euro_reentstr *estrent(void);
VF_API const euro_reentstr *getrent(void);

/* ------------------------------------------------------------------------
 * Locale database: 133 read-only locale records of 143 text fields each.
 * A locale ID is the 1-based record number; any other ID reads en_US.
 * ---------------------------------------------------------------------- */
#define VF_LOC_RECORDS 133
#define VF_LOC_FIELDS 143
#define VF_LOC_TEXT 160 /* every fetched field and convention text */

/* One text of the conventions record: its length and bytes (not
 * terminated). */
typedef struct zoxltext {
  int32_t len;             /*   0 */
  char bytes[VF_LOC_TEXT]; /*   4 */
} zoxltext;                /* 164 */

/* Number and currency conventions derived from one pattern field. */
typedef struct zoxlconv {
  zoxltext currency_symbol; /*   0 */
  zoxltext decimal_point;   /* 164 */
  zoxltext thousands_sep;   /* 328 */
  int32_t grouping;         /* 492 */
  zoxltext positive_sign;   /* 496 */
  zoxltext negative_sign;   /* 660 */
  int32_t frac_digits;      /* 824 */
  int32_t p_cs_precedes;    /* 828 */
  int32_t p_sep_by_space;   /* 832 */
  int32_t p_sign_posn;      /* 836 */
  int32_t n_cs_precedes;    /* 840 */
  int32_t n_sep_by_space;   /* 844 */
  int32_t n_sign_posn;      /* 848 */
} zoxlconv;                 /* 852 */

/* The holder wzssglc fills: the field (length and bytes) and, for the
 * pattern fields 113, 114, 126 to 129, the conventions that go with it. */
typedef struct zoxlfield {
  int32_t len;            /*    0 field length, 0 when it did not fit */
  char text[VF_LOC_TEXT]; /*    4 */
  zoxlconv conv;          /*  164 */
} zoxlfield;              /* 1016 */

VF_API int32_t getZOXLocDB(char *buffer, int32_t bufsize, int32_t field,
                           int32_t locid);
VF_API int32_t wzssglc(int32_t locid, int32_t field, zoxlfield *holder);
VF_API int32_t LocnameToID(const char *name, int32_t len, int32_t *id);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* VALFMT_H */
