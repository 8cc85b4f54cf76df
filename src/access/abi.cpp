// Compile-time checks of every binary layout shared with hosts.
#include <cstddef>

#include "valfmt.h"

#define VF_AT(type, field, off) static_assert(offsetof(type, field) == (off))

static_assert(sizeof(fmtcall) == 80);
VF_AT(fmtcall, w, 0);
VF_AT(fmtcall, d, 4);
VF_AT(fmtcall, value, 8);
VF_AT(fmtcall, valuelen, 16);
VF_AT(fmtcall, out, 24);
VF_AT(fmtcall, outsize, 32);
VF_AT(fmtcall, outlen, 36);
VF_AT(fmtcall, hostword, 48);
VF_AT(fmtcall, options, 56);
VF_AT(fmtcall, localeid, 60);
VF_AT(fmtcall, inenc, 64);
VF_AT(fmtcall, reqenc, 68);
VF_AT(fmtcall, outenc, 72);

static_assert(sizeof(fmtinfo_eachfmt) == 48);
VF_AT(fmtinfo_eachfmt, name, 0);
VF_AT(fmtinfo_eachfmt, namelen, 16);
VF_AT(fmtinfo_eachfmt, minw, 20);
VF_AT(fmtinfo_eachfmt, maxw, 22);
VF_AT(fmtinfo_eachfmt, defw, 24);
VF_AT(fmtinfo_eachfmt, flag1, 26);
VF_AT(fmtinfo_eachfmt, flag2, 28);
VF_AT(fmtinfo_eachfmt, maxd, 30);
VF_AT(fmtinfo_eachfmt, aux, 32);
VF_AT(fmtinfo_eachfmt, fn, 40);

static_assert(sizeof(fmtinfo) == 16);
VF_AT(fmtinfo, count, 0);
VF_AT(fmtinfo, first, 8);

static_assert(sizeof(fmtmodule_row) == 16);

static_assert(sizeof(fmtposs_row) == 80);
VF_AT(fmtposs_row, link, 0);
VF_AT(fmtposs_row, modname, 8);
VF_AT(fmtposs_row, modnamelen, 24);
VF_AT(fmtposs_row, fmtname, 32);
VF_AT(fmtposs_row, fmtnamelen, 48);
VF_AT(fmtposs_row, rest, 52);

static_assert(sizeof(fmthandle) == 80);
VF_AT(fmthandle, self, 0);
VF_AT(fmthandle, modname, 8);
VF_AT(fmthandle, modnamelen, 24);
VF_AT(fmthandle, desc, 32);
static_assert(offsetof(fmthandle, desc) + offsetof(fmtinfo_eachfmt, fn) == 72);

static_assert(sizeof(fmtuhandle) == 144);
VF_AT(fmtuhandle, self, 0);
VF_AT(fmtuhandle, kind, 8);
VF_AT(fmtuhandle, marker, 40);
VF_AT(fmtuhandle, name, 48);
VF_AT(fmtuhandle, namelen, 80);
VF_AT(fmtuhandle, minw, 84);
VF_AT(fmtuhandle, maxw, 86);
VF_AT(fmtuhandle, defw, 88);
VF_AT(fmtuhandle, evaluator, 104);
VF_AT(fmtuhandle, entry, 112);
VF_AT(fmtuhandle, ranges, 120);
VF_AT(fmtuhandle, blockhead, 128);
VF_AT(fmtuhandle, blocktail, 136);
static_assert(sizeof(fmthandle_storage) == 144);
// The kind byte sits at offset 8 in both handle layouts.
static_assert(offsetof(fmthandle, modname) == offsetof(fmtuhandle, kind));

static_assert(sizeof(fmtattr) == 16);
VF_AT(fmtattr, minw, 0);
VF_AT(fmtattr, aux_lo, 12);
VF_AT(fmtattr, aux_hi, 14);

static_assert(sizeof(fmtinmemory) == 24);
VF_AT(fmtinmemory, text, 8);
VF_AT(fmtinmemory, length, 16);

static_assert(sizeof(fmtcontext) == 152);
VF_AT(fmtcontext, entry, 72);
VF_AT(fmtcontext, ranges, 80);
VF_AT(fmtcontext, inmemory, 96);
VF_AT(fmtcontext, cookie, 104);
VF_AT(fmtcontext, catkind, 145);

static_assert(sizeof(zoxltext) == 164);
VF_AT(zoxltext, bytes, 4);
static_assert(sizeof(zoxlconv) == 852);
VF_AT(zoxlconv, decimal_point, 164);
VF_AT(zoxlconv, thousands_sep, 328);
VF_AT(zoxlconv, grouping, 492);
VF_AT(zoxlconv, positive_sign, 496);
VF_AT(zoxlconv, negative_sign, 660);
VF_AT(zoxlconv, frac_digits, 824);
VF_AT(zoxlconv, n_sign_posn, 848);
static_assert(sizeof(zoxlfield) == 1016);
VF_AT(zoxlfield, text, 4);
VF_AT(zoxlfield, conv, 164);
