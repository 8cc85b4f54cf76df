#!/usr/bin/env python3
"""Generates src/nls/currency_table.cpp, the 82 monetary records behind the
NLMNI/NLMNL currency formats, from the LC_MONETARY sections of the locale
sources (/usr/share/i18n/locales, Debian package `locales`).

Each currency code is read from one stated locale (SOURCES below).  Codes
that locale no longer uses (the currency was replaced) keep the locale's
layout and conventions and take the code itself as int_curr_symbol; their
currency_symbol comes from SYMBOLS.  SYMBOLS also fixes the local symbols
the NLMNL formats show, which tell apart currencies that share a sign ($,
kr, R).  Every record's positive_sign is a blank and negative_sign '-'.
Characters outside ASCII are written as <Uxxxx> escapes.

Usage: tools/gen_currency_table.py [LOCALES_DIR] > src/nls/currency_table.cpp
"""
import os
import re
import sys

# code -> (locale, note); the note says why a parent locale stands in.
SOURCES = {
    "AED": ("ar_AE", ""), "ALL": ("sq_AL", ""), "ARS": ("es_AR", ""),
    "AUD": ("en_AU", ""), "BGN": ("bg_BG", ""), "BHD": ("ar_BH", ""),
    "BOB": ("es_BO", ""), "BRL": ("pt_BR", ""), "BWP": ("en_BW", ""),
    "BYB": ("be_BY", "replaced; be_BY layout"),
    "CAD": ("en_CA", ""), "CHF": ("de_CH", ""), "CLP": ("es_CL", ""),
    "CNY": ("zh_CN", ""), "COP": ("es_CO", ""), "CRC": ("es_CR", ""),
    "CZK": ("cs_CZ", ""), "DKK": ("da_DK", ""), "DOP": ("es_DO", ""),
    "DZD": ("ar_DZ", ""), "EEK": ("et_EE", "replaced by EUR; et_EE layout"),
    "EGP": ("ar_EG", ""), "EUR": ("de_DE", ""), "GBP": ("en_GB", ""),
    "GTQ": ("es_GT", ""), "HKD": ("zh_HK", ""), "HNL": ("es_HN", ""),
    "HRK": ("hr_HR", "replaced by EUR; hr_HR layout"),
    "HUF": ("hu_HU", ""), "IDR": ("id_ID", ""), "ILS": ("he_IL", ""),
    "INR": ("hi_IN", ""), "IQD": ("ar_IQ", ""), "IRR": ("fa_IR", ""),
    "ISK": ("is_IS", ""), "JMD": ("en_AG", "no Jamaican locale; en_AG layout"),
    "JOD": ("ar_JO", ""), "JPY": ("ja_JP", ""), "KRW": ("ko_KR", ""),
    "KWD": ("ar_KW", ""), "LBP": ("ar_LB", ""),
    "LTL": ("lt_LT", "replaced by EUR; lt_LT layout"),
    "LVL": ("lv_LV", "replaced by EUR; lv_LV layout"),
    "LYD": ("ar_LY", ""), "MAD": ("ar_MA", ""), "MKD": ("mk_MK", ""),
    "MOP": ("zh_HK", "no Macau locale; zh_HK layout"),
    "MXN": ("es_MX", ""), "MYR": ("ms_MY", ""), "NIO": ("es_NI", ""),
    "NOK": ("nb_NO", ""), "NZD": ("en_NZ", ""), "OMR": ("ar_OM", ""),
    "PAB": ("es_PA", ""), "PEN": ("es_PE", ""), "PHP": ("en_PH", ""),
    "PLN": ("pl_PL", ""), "PYG": ("es_PY", ""), "QAR": ("ar_QA", ""),
    "ROL": ("ro_RO", "replaced by RON; ro_RO layout"),
    "RUB": ("ru_RU", ""), "RUR": ("ru_RU", "replaced by RUB; ru_RU layout"),
    "SAR": ("ar_SA", ""), "SDD": ("ar_SD", "replaced by SDG; ar_SD layout"),
    "SEK": ("sv_SE", ""), "SGD": ("en_SG", ""),
    "SKK": ("sk_SK", "replaced by EUR; sk_SK layout"),
    "SVC": ("es_SV", "replaced by USD; es_SV layout"),
    "SYP": ("ar_SY", ""), "THB": ("th_TH", ""), "TND": ("ar_TN", ""),
    "TRY": ("tr_TR", ""), "TWD": ("zh_TW", ""), "UAH": ("uk_UA", ""),
    "USD": ("en_US", ""), "UYU": ("es_UY", ""),
    "VEB": ("es_VE", "replaced by VEF/VES; es_VE layout"),
    "VND": ("vi_VN", ""), "XCD": ("en_AG", ""), "YER": ("ar_YE", ""),
    "ZAR": ("en_ZA", ""), "ZWD": ("en_ZW", "replaced; en_ZW layout"),
}

# Local symbols of the currency formats, and of the replaced currencies.
SYMBOLS = {
    "AED": "<U062F>.<U0625>.", "AUD": "AU$", "BGN": "<U043B><U0432>",
    "BRL": "R$", "CAD": "CA$", "CHF": "SFr.", "CNY": "RMB",
    "CZK": "K<U010D>", "DKK": "kr", "EEK": "kr", "EGP": "<U062C>.<U0645>.",
    "EUR": "<U20AC>", "GBP": "<U00A3>", "HKD": "HK$", "HRK": "Kn",
    "HUF": "Ft", "IDR": "Rp", "ILS": "<U05E9>\"<U05D7>", "INR": "<U20A8>",
    "JPY": "<UFFE5>", "KRW": "<U20A9>", "LTL": "Lt", "LVL": "Ls",
    "MOP": "P", "MXN": "MX$", "MYR": "R", "NOK": "kr", "NZD": "NZ$",
    "PLN": "z<U0142>", "ROL": "LEI", "RUB": "<U0440><U0443><U0431>",
    "RUR": "<U0440><U002E>", "SEK": "kr", "SGD": "SG$", "SKK": "Sk",
    "THB": "<U0E3F>", "TRY": "YTL", "TWD": "NT$", "USD": "US$", "ZAR": "R",
    # replaced currencies no format shows: the code stands for the sign
    "BYB": "BYB", "SDD": "SDD", "SVC": "SVC", "VEB": "VEB", "ZWD": "ZWD",
    "JMD": "J$",
}

INT_KEYS = ["int_frac_digits", "frac_digits", "p_cs_precedes",
            "p_sep_by_space", "n_cs_precedes", "n_sep_by_space",
            "p_sign_posn", "n_sign_posn"]
TEXT_KEYS = ["int_curr_symbol", "currency_symbol", "mon_decimal_point",
             "mon_thousands_sep", "mon_grouping", "positive_sign",
             "negative_sign"]


def read_lines(path):
    """Logical lines of a locale source: comments dropped, continuations
    joined, with its escape character."""
    comment, escape = "%", "\\"
    out, pending = [], ""
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            m = re.match(r"^\s*(comment_char|escape_char)\s+(\S)", line)
            if m:
                if m.group(1) == "comment_char":
                    comment = m.group(2)
                else:
                    escape = m.group(2)
                continue
            if line.lstrip().startswith(comment):
                continue
            if line.endswith(escape):
                pending += line[:-1]
                continue
            out.append(pending + line)
            pending = ""
    return out, escape


def decode(value, escape):
    """The first quoted locale string of a value as Unicode text (escape
    sequences resolved, anything after the closing quote ignored)."""
    value = value.strip()
    if not value.startswith('"'):
        return value.split()[0] if value else ""
    out, i = [], 1
    while i < len(value) and value[i] != '"':
        if value[i] == escape and i + 1 < len(value):
            i += 1
        out.append(value[i])
        i += 1
    return re.sub(r"<U([0-9A-Fa-f]{4,8})>",
                  lambda m: chr(int(m.group(1), 16)), "".join(out))


def monetary(locales_dir, name, seen=None):
    seen = seen or set()
    if name in seen:
        raise SystemExit(f"copy loop at {name}")
    seen.add(name)
    lines, escape = read_lines(os.path.join(locales_dir, name))
    values, inside = {}, False
    for line in lines:
        s = line.strip()
        if s == "LC_MONETARY":
            inside = True
            continue
        if s.startswith("END LC_MONETARY"):
            break
        if not inside or not s:
            continue
        parts = s.split(None, 1)
        key, rest = parts[0], (parts[1].strip() if len(parts) > 1 else "")
        if key == "copy":
            base = monetary(locales_dir, decode(rest, escape), seen)
            base.update(values)
            values = base
        elif key in TEXT_KEYS:
            values[key] = (decode(rest, escape) if key != "mon_grouping"
                           else rest.replace(" ", ""))
        elif key in INT_KEYS:
            values[key] = int(rest)
    return values


def escaped(text):
    return "".join(c if 0x20 <= ord(c) < 0x7F else f"<U{ord(c):04X}>"
                   for c in text)


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def main():
    locales_dir = sys.argv[1] if len(sys.argv) > 1 else \
        "/usr/share/i18n/locales"
    rows = []
    for code in sorted(SOURCES):
        locale, note = SOURCES[code]
        v = monetary(locales_dir, locale)
        own = v["int_curr_symbol"].strip() == code
        symbol = SYMBOLS.get(code, escaped(v["currency_symbol"]))
        if not own and code not in SYMBOLS:
            raise SystemExit(f"{code}: {locale} uses "
                             f"{v['int_curr_symbol'].strip()}, no symbol")
        texts = [code, symbol, escaped(v["mon_decimal_point"]),
                 escaped(v["mon_thousands_sep"]), v["mon_grouping"], " ", "-"]
        ints = [v.get(k, -1) for k in INT_KEYS]
        ints = [127 if i == -1 else i for i in ints]
        comment = f"{code} from {locale}" + (f" ({note})" if note else "")
        rows.append((comment, texts, ints))
    print("// Generated by tools/gen_currency_table.py from the LC_MONETARY")
    print("// sections of the locale sources; do not edit.  See")
    print("// docs/locale-data.md, section \"Currency table\".")
    print('#include "nls/currency_table.h"')
    print()
    print("// clang-format off")
    print("namespace valfmt {")
    print()
    print(f"const LconvMonetary lconv_monetary[{len(rows)}] = {{")
    for comment, texts, ints in rows:
        print(f"    // {comment}")
        print("    {" + ", ".join(c_string(t) for t in texts) + ",")
        print("     " + ", ".join(str(i) for i in ints) + "},")
    print("};")
    print("// clang-format on")
    print()
    print("} // namespace valfmt")


if __name__ == "__main__":
    main()
