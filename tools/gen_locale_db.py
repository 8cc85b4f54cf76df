#!/usr/bin/env python3
"""Generates src/nls/locale_data.cpp, the 133 locale records of 143 fields.

Sources (see docs/locale-data.md for the field-by-field account):
  * the locale definition sources under /usr/share/i18n/locales (Debian
    package `locales`): LC_TIME, LC_MONETARY, LC_NUMERIC, LC_PAPER,
    LC_MEASUREMENT, LC_NAME, LC_ADDRESS, LC_TELEPHONE;
  * CLDR through ICU (Debian `libicu-dev`): long/medium/full date patterns,
    skeleton patterns, quarter names, number/currency/percent patterns;
    a small helper (tools/locale_db/cldr_dump.cpp) is compiled for that.

Usage: gen_locale_db.py [--out FILE] [--check FILE]
  --check compares the generated text with FILE and exits 1 on a difference.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
LOCALES = "/usr/share/i18n/locales"
NFIELDS = 143

# ID, record name, language code, country code, in ID order.
RECORDS = """
1 Afrikaans_SouthAfrica af ZA;2 Albanian_Albania sq AL;3 Arabic_Algeria ar DZ;
4 Arabic_Bahrain ar BH;5 Arabic_Egypt ar EG;6 Arabic_India ar IN;
7 Arabic_Iraq ar IQ;8 Arabic_Jordan ar JO;9 Arabic_Kuwait ar KW;
10 Arabic_Lebanon ar LB;11 Arabic_Libya ar LY;12 Arabic_Morocco ar MA;
13 Arabic_Oman ar OM;14 Arabic_Qatar ar QA;15 Arabic_SaudiArabia ar SA;
16 Arabic_Sudan ar SD;17 Arabic_Syria ar SY;18 Arabic_Tunisia ar TN;
19 Arabic_UnitedArabEmirates ar AE;20 Arabic_Yemen ar YE;21 Bengali_India bn IN;
22 Bosnian_BosniaHerzegovina bs BA;23 Bulgarian_Bulgaria bg BG;
24 Belarusian_Belarus be BY;25 Catalan_Spain ca ES;26 Chinese_China zh CN;
27 Chinese_HongKong zh HK;28 Chinese_Macau zh MO;29 Chinese_Singapore zh SG;
30 Chinese_Taiwan zh TW;31 Cornish_UnitedKingdom kw GB;
32 Croatian_BosniaHerzegovina hr BA;33 Croatian_Croatia hr HR;
34 Czech_CzechRepublic cs CZ;35 Danish_Denmark da DK;36 Dutch_Belgium nl BE;
37 Dutch_Netherlands nl NL;38 English_Australia en AU;39 English_Belgium en BE;
40 English_Botswana en BW;41 English_Canada en CA;42 English_Caribbean en CB;
43 English_HongKong en HK;44 English_India en IN;45 English_Ireland en IE;
46 English_Jamaica en JM;47 English_NewZealand en NZ;48 English_Philippines en PH;
49 English_Singapore en SG;50 English_SouthAfrica en ZA;
51 English_UnitedKingdom en GB;52 English_UnitedStates en US;
53 English_Zimbabwe en ZW;54 Estonian_Estonia et EE;55 Faeroese_FaroeIsland fo FO;
56 Finnish_Finland fi FI;57 French_Belgium fr BE;58 French_Canada fr CA;
59 French_France fr FR;60 French_Luxembourg fr LU;61 French_Switzerland fr CH;
62 German_Austria de AT;63 German_Germany de DE;64 German_Liechtenstein de LI;
65 German_Luxembourg de LU;66 German_Switzerland de CH;67 Greek_Greece el GR;
68 Greenlandic_Greenland kl GL;69 Hebrew_Israel he IL;70 Hindi_India hi IN;
71 Hungarian_Hungary hu HU;72 Icelandic_Iceland is IS;73 Indonesian_Indonesia id ID;
74 Italian_Italy it IT;75 Italian_Switzerland it CH;76 Japanese_Japan ja JP;
77 Korean_SouthKorea ko KR;78 Latvian_Latvia lv LV;79 Lithuanian_Lithuania lt LT;
80 Macedonian_Macedonia mk MK;81 Malay_Malaysia ms MY;82 Maltese_Malta mt MT;
83 ManxGaelic_UnitedKingdom gv GB;84 Marathi_India mr IN;
85 NorwegianBokmal_Norway nb NO;86 NorwegianNynorsk_Norway nn NO;
87 Norwegian_Norway no NO;88 Persian_India fa IN;89 Persian_Iran fa IR;
90 Polish_Poland pl PL;91 Portuguese_Brazil pt BR;92 Portuguese_Portugal pt PT;
93 Romanian_Romania ro RO;94 Russian_Russia ru RU;95 Russian_Ukraine ru UA;
96 Serbian_BosniaHerzegovina sr BA;97 Serbian_Montenegro sr ME;
98 Serbian_Serbia sr RS;99 Serbian_SerbiaMontenegro sr YU;
100 SerbianLatin_BosniaHerzegovina sh BA;101 SerbianLatin_Montenegro sh ME;
102 SerbianLatin_Serbia sh RS;103 Slovak_Slovakia sk SK;104 Slovenian_Slovenia sl SI;
105 Spanish_Argentina es AR;106 Spanish_Bolivia es BO;107 Spanish_Chile es CL;
108 Spanish_Colombia es CO;109 Spanish_CostaRica es CR;
110 Spanish_DominicanRepublic es DO;111 Spanish_Ecuador es EC;
112 Spanish_ElSalvador es SV;113 Spanish_Guatemala es GT;114 Spanish_Honduras es HN;
115 Spanish_Mexico es MX;116 Spanish_Nicaragua es NI;117 Spanish_Panama es PA;
118 Spanish_Paraguay es PY;119 Spanish_Peru es PE;120 Spanish_PuertoRico es PR;
121 Spanish_Spain es ES;122 Spanish_UnitedStates es US;123 Spanish_Uruguay es UY;
124 Spanish_Venezuela es VE;125 Swedish_Sweden sv SE;126 Tamil_India ta IN;
127 Telugu_India te IN;128 Thai_Thailand th TH;129 Turkish_Turkey tr TR;
130 Ukrainian_Ukraine uk UA;131 Vietnamese_Vietnam vi VN;132 Polish_XX pl XX;
133 Chinese_XX zh XX
"""

# Records without a locale source of their own: (language source for
# LC_TIME and LC_NAME, country source for LC_MONETARY, LC_NUMERIC, LC_PAPER,
# LC_MEASUREMENT, LC_ADDRESS, LC_TELEPHONE).
DERIVED = {
    "zh_MO": ("zh_HK", "zh_HK"),
    "hr_BA": ("hr_HR", "bs_BA"),
    "en_BE": ("en_GB", "nl_BE"),
    "en_CB": ("en_US", "en_AG"),
    "en_JM": ("en_US", "en_AG"),
    "no_NO": ("nb_NO", "nb_NO"),
    "fa_IN": ("fa_IR", "hi_IN"),
    "sr_BA": ("sr_RS", "bs_BA"),
    "sr_YU": ("sr_RS", "sr_RS"),
    "sh_BA": ("sr_RS@latin", "bs_BA"),
    "sh_ME": ("sr_RS@latin", "sr_ME"),
    "sh_RS": ("sr_RS@latin", "sr_RS@latin"),
    "pl_XX": ("pl_PL", "pl_PL"),
    "zh_XX": ("zh_CN", "zh_CN"),
}
# Derived records whose currency is not the country source's: code and
# symbol come from CLDR for the record's own country.
CLDR_CURRENCY = {"zh_MO", "en_JM"}

# CLDR locale used for each record where the plain code is not one.
ICU_IDS = {
    "en_CB": "en_029", "no_NO": "nb_NO", "sr_YU": "sr_Cyrl_RS",
    "sr_BA": "sr_Cyrl_BA", "sr_ME": "sr_Cyrl_ME", "sr_RS": "sr_Cyrl_RS",
    "sh_BA": "sr_Latn_BA", "sh_ME": "sr_Latn_ME", "sh_RS": "sr_Latn_RS",
    "pl_XX": "pl_PL", "zh_XX": "zh_Hans_CN", "zh_CN": "zh_Hans_CN",
    "zh_SG": "zh_Hans_SG", "zh_HK": "zh_Hant_HK", "zh_MO": "zh_Hant_MO",
    "zh_TW": "zh_Hant_TW",
}

# Field 12, the secondary language code, is the ISO 639-2 bibliographic
# code (LC_ADDRESS `lang_lib`) of records whose bibliographic and
# terminology codes differ, and of these records of a language that shares
# its country with another main language (the code is then the same as the
# terminology code).  The sources carry no such notion, hence the list.
SECONDARY_LANGUAGE = {
    "af_ZA", "ar_IN", "bn_IN", "kw_GB", "hr_BA", "en_BE", "en_CA", "en_HK",
    "en_IN", "en_ZA", "it_CH", "gv_GB", "mr_IN", "ru_UA", "sr_BA", "sh_BA",
    "es_US", "ta_IN", "te_IN",
}

# LC_NAME texts a record takes from another source of its language where
# its own source has none: the honorific suffix (`name_gen`, field 133)
# and the title of an unmarried woman (`name_miss`, field 137).  Spanish of
# Central America, Mexico and the Caribbean shares Costa Rica's; Chinese
# shares Hong Kong's suffix; Canadian French, Luxembourg German and Saudi
# Arabic take the title of their language's main source.  English records
# follow en_US, which has no such title.
_MESOAMERICA = ("es_SV", "es_GT", "es_HN", "es_NI", "es_PA", "es_MX",
                "es_DO", "es_PR")
NAME_GEN_FROM = dict([(c, "zh_HK") for c in
                      ("zh_CN", "zh_SG", "zh_TW", "zh_XX")] +
                     [(c, "es_CR") for c in _MESOAMERICA])
NAME_MISS_FROM = dict([(c, "es_CR") for c in _MESOAMERICA] +
                      [("fr_CA", "fr_FR"), ("de_LU", "de_DE"),
                       ("ar_SA", "ar_EG")])

GRAPHICS_FONTS = ["COMPLEX", "SIMPLEX", "ITALIC", "BRUSH", "SIMPLEX", "BRUSH",
                  "SIMPLEX", "COMPLEX", "SWISS", "ITALIC"]


def parse_records():
    out = []
    for item in RECORDS.replace("\n", "").split(";"):
        rid, name, lang, country = item.split()
        out.append((int(rid), name, lang, country))
    assert [r[0] for r in out] == list(range(1, 134))
    return out


# ---------------------------------------------------------------- sources
def strip_comment(line, comment, escape, quoted=False):
    """The line without a trailing comment (a comment character outside
    a quoted string; `quoted` when the line continues an open string)."""
    i = 0
    while i < len(line):
        c = line[i]
        if c == escape:
            i += 2
            continue
        if c == '"':
            quoted = not quoted
        elif c == comment and not quoted:
            return line[:i]
        i += 1
    return line


class LocaleSource:
    """One locale definition file, categories resolved through `copy`."""

    _cache = {}

    @classmethod
    def load(cls, name):
        if name not in cls._cache:
            cls._cache[name] = cls(name)
        return cls._cache[name]

    def __init__(self, name):
        self.name = name
        self.raw = {}
        self.copies = {}
        self.resolved = {}
        path = os.path.join(LOCALES, name)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        self._parse(text)

    def _parse(self, text):
        comment, escape = "#", "\\"
        lines = text.split("\n")
        logical, buf = [], ""
        for raw in lines:
            s = raw.rstrip()
            m = re.match(r"^\s*(comment_char|escape_char)\s+(\S)", s)
            if m and not buf:
                if m.group(1) == "comment_char":
                    comment = m.group(2)
                else:
                    escape = m.group(2)
                continue
            if not buf and s.lstrip().startswith(comment):
                continue
            cont = s.endswith(escape) and not s.endswith(escape + escape)
            open_quote = buf.replace(escape + '"', "").count('"') % 2 == 1
            s = strip_comment(s[:-1] if cont else s, comment, escape,
                              open_quote)
            if cont:
                buf += s
                continue
            logical.append(buf + s)
            buf = ""
        self.escape = escape
        cat = None
        for line in logical:
            s = line.strip()
            if not s:
                continue
            if re.match(r"^LC_[A-Z]+$", s):
                cat = s
                self.raw.setdefault(cat, {})
                continue
            if s.startswith("END "):
                cat = None
                continue
            if cat is None:
                continue
            key, _, rest = s.partition(" ")
            key = key.split("\t")[0]
            rest = s[len(key):].strip()
            if key == "copy":
                self.copies[cat] = self._strings(rest)[0]
                continue
            self.raw[cat][key] = self._values(rest)

    def _decode(self, body):
        out, i = [], 0
        while i < len(body):
            c = body[i]
            if c == self.escape and i + 1 < len(body):
                out.append(body[i + 1])
                i += 2
                continue
            m = re.match(r"<U([0-9A-Fa-f]{4,8})>", body[i:])
            if m:
                out.append(chr(int(m.group(1), 16)))
                i += len(m.group(0))
                continue
            out.append(c)
            i += 1
        return "".join(out)

    def _strings(self, rest):
        return [self._decode(m) for m in re.findall(r'"((?:[^"]|"")*?)"', rest)]

    def _values(self, rest):
        vals = []
        for part in re.findall(r'"[^"]*"|[^;\s]+', rest):
            if part.startswith('"'):
                vals.append(self._decode(part[1:-1]))
            else:
                vals.append(part)
        return vals

    def category(self, cat):
        """The category's keywords, those of a copied source first."""
        if cat not in self.resolved:
            merged = {}
            if cat in self.copies:
                merged.update(LocaleSource.load(self.copies[cat]).category(cat))
            merged.update(self.raw.get(cat, {}))
            self.resolved[cat] = merged
        return self.resolved[cat]

    def get(self, cat, key, default=None):
        v = self.category(cat).get(key)
        return v if v is not None else default

    def one(self, cat, key, default=""):
        v = self.get(cat, key)
        return v[0] if v else default


def cldr_data(ids):
    """{icu id: {key: value}} from the compiled CLDR helper."""
    src = os.path.join(HERE, "locale_db", "cldr_dump.cpp")
    with tempfile.TemporaryDirectory() as tmp:
        exe = os.path.join(tmp, "cldr_dump")
        flags = subprocess.run(["pkg-config", "--cflags", "--libs", "icu-i18n",
                                "icu-uc"], check=True, capture_output=True,
                               text=True).stdout.split()
        subprocess.run(["c++", "-std=c++17", "-O1", src, "-o", exe] + flags,
                       check=True)
        out = subprocess.run([exe] + sorted(set(ids)), check=True,
                             capture_output=True).stdout.decode("utf-8")
    data = {}
    for line in out.split("\n"):
        if line:
            loc, key, val = line.split("\t", 2)
            data.setdefault(loc, {})[key] = val
    return data


# ------------------------------------------------------------ translation
def escape_text(s):
    """Narrow record text: Latin-1 as single bytes, others as <Uxxxx>."""
    out = []
    for ch in s:
        cp = ord(ch)
        if cp > 0xFFFF:
            cp = 0xFFFD
        out.append(ch if cp <= 0xFF else "<U%04X>" % cp)
    return "".join(out)


def lit(s):
    return s.replace("%", "%%")


def cldr_pattern(p, day="%d"):
    """CLDR date pattern letters -> expander directives."""
    out, i = [], 0
    while i < len(p):
        c = p[i]
        if c == "'":
            j = i + 1
            if j < len(p) and p[j] == "'":
                out.append("'")
                i += 2
                continue
            text = []
            while j < len(p):
                if p[j] == "'":
                    if j + 1 < len(p) and p[j + 1] == "'":
                        text.append("'")
                        j += 2
                        continue
                    break
                text.append(p[j])
                j += 1
            out.append(lit("".join(text)))
            i = j + 1
            continue
        if not c.isascii() or not c.isalpha():
            out.append(lit(c))
            i += 1
            continue
        n = 1
        while i + n < len(p) and p[i + n] == c:
            n += 1
        i += n
        if c in "yYu":
            out.append("%y" if n == 2 else "%Y")
        elif c in "ML":
            out.append({1: "%m", 2: "%m", 3: "%b"}.get(n, "%B"))
        elif c == "d":
            out.append(day if n == 1 else "%d")
        elif c in "Ec":
            out.append("%A" if n == 4 else "%a")
        elif c == "Q" or c == "q":
            out.append("%Q" if n == 4 else "%q")
        elif c in "hK":
            out.append("%I")
        elif c in "Hk":
            out.append("%H")
        elif c == "m":
            out.append("%M")
        elif c == "s":
            out.append("%S")
        elif c in "ab":
            out.append("%p")
        elif c == "w":
            out.append("%U")
        elif c == "D":
            out.append("%j")
        # G (era), zone letters and anything else carry nothing here.
    return tidy("".join(out))


def tidy(p):
    p = re.sub(r"\s{2,}", " ", p)
    return p.strip()


def glibc_pattern(p, src, depth=0):
    """strftime pattern of a locale source -> expander directives."""
    t = lambda k: src.one("LC_TIME", k)
    out, i = [], 0
    while i < len(p):
        c = p[i]
        if c != "%":
            out.append(c)
            i += 1
            continue
        i += 1
        flag = ""
        while i < len(p) and p[i] in "-_0^#":
            flag = "#" if p[i] == "-" else flag
            i += 1
        while i < len(p) and p[i].isdigit():
            i += 1
        if i < len(p) and p[i] in "EO":
            i += 1
        if i >= len(p):
            break
        d = p[i]
        i += 1
        simple = "aAbBdeHIjmMpSUVWwuyYgG"
        if d in simple:
            out.append("%" + flag + d)
        elif d == "%":
            out.append("%%")
        elif d == "h":
            out.append("%b")
        elif d == "T":
            out.append("%H:%M:%S")
        elif d == "R":
            out.append("%H:%M")
        elif d == "D":
            out.append("%m/%d/%y")
        elif d == "F":
            out.append("%Y-%m-%d")
        elif d == "k":
            out.append("%#H" if flag else "%H")
        elif d == "l":
            out.append("%#I" if flag else "%I")
        elif d == "P":
            out.append("%p")
        elif d == "C":
            if p[i:i + 2] == "%y":
                out.append("%Y")
                i += 2
        elif d in "nt":
            out.append(" ")
        elif d in "rxXc" and depth < 3:
            key = {"r": "t_fmt_ampm", "x": "d_fmt", "X": "t_fmt",
                   "c": "d_t_fmt"}[d]
            out.append(glibc_pattern(t(key) or "%I:%M:%S %p", src, depth + 1))
        # %Z, %z, %s and unknown letters carry nothing here.
    return tidy("".join(out))


def to_24h(p):
    p = p.replace("%#I", "%#H").replace("%I", "%H")
    return tidy(p.replace("%p", ""))


def date_order(p):
    pos = {}
    for m in re.finditer(r"%#?([a-zA-Z])", p):
        k = {"d": "D", "e": "D", "m": "M", "b": "M", "B": "M",
             "y": "Y", "Y": "Y"}.get(m.group(1))
        if k and k not in pos:
            pos[k] = m.start()
    if len(pos) != 3:
        return ""
    return "".join(sorted(pos, key=pos.get))


def date_separator(p):
    """The separator of a short date pattern: the single non-alphanumeric
    character between its first two directives.  A mark followed by blanks
    ("%d. %m. %y") counts as that mark when the same mark, blanks aside,
    also stands between the second and third directive; otherwise a text
    of more than one character is no separator."""
    m = re.match(r"^%#?[a-zA-Z](.*?)%#?[a-zA-Z](.*?)(?:%#?[a-zA-Z]|$)", p)
    if not m:
        return ""
    sep, second = m.group(1), m.group(2)
    if len(sep) == 1 and not sep.isalnum():
        return sep
    mark = sep.strip()
    if (len(mark) == 1 and not mark.isalnum() and mark != "%"
            and second.strip() == mark):
        return mark
    return ""


def localize(pattern, decimal, thousands):
    out = []
    for ch in pattern:
        if ch == ",":
            out.append(thousands)
        elif ch == ".":
            out.append(decimal)
        else:
            out.append(ch)
    return "".join(out)


def first_group(vals):
    for v in vals or []:
        try:
            n = int(v)
        except ValueError:
            continue
        return str(n) if 0 < n < 10 else "0"
    return "0"


def currency_pattern(cldr_pat, dec, sep, n_sign_posn):
    p = cldr_pat.split(";")[0]
    p = localize(p, dec, sep)
    if n_sign_posn == "0":
        p = p + ";(" + p + ")"
    return p


def paper_name(h, w):
    return {("279", "216"): "LETTER", ("297", "210"): "A4",
            ("356", "216"): "LEGAL"}.get((h, w), "")


# ------------------------------------------------------------ the records
def sources_of(lang, country):
    code = "%s_%s" % (lang, country)
    lang_src, country_src = DERIVED.get(code, (code, code))
    return code, LocaleSource.load(lang_src), LocaleSource.load(country_src)


def icu_id(code):
    return ICU_IDS.get(code, code)


def time_fields(f, L, cl):
    """Fields 28 to 48 and 50 to 97 from LC_TIME and CLDR."""
    day = lambda k: L.one("LC_TIME", k)
    ampm_src = L.get("LC_TIME", "am_pm") or ["", ""]
    if not any(ampm_src):
        ampm_src = [cl.get("ampm.0", "AM"), cl.get("ampm.1", "PM")]
    t_ampm = glibc_pattern(day("t_fmt_ampm"), L) if day("t_fmt_ampm") else ""
    if "%I" not in t_ampm and "%#I" not in t_ampm:
        t_ampm = "%I:%M:%S %p"
    t_24 = to_24h(glibc_pattern(day("t_fmt"), L)) or "%H:%M:%S"
    full = cldr_pattern(cl["date.full"])
    full_abbr = full.replace("%A", "%a").replace("%B", "%b")
    f[28] = cldr_pattern(cl["date.long"])
    f[29] = glibc_pattern(day("d_fmt"), L)
    f[30] = f[28] + " " + t_ampm
    f[31] = to_24h(glibc_pattern(day("d_t_fmt"), L))
    f[32] = cldr_pattern(cl["date.medium"], day="%e") + " " + t_ampm
    f[33] = full + " " + t_ampm
    f[34] = full_abbr + " " + t_ampm
    f[35] = t_ampm
    f[36] = t_24
    f[37] = full
    f[38] = full_abbr.replace("%Y", "%y")
    skel = ["yMMMM", "yyMMM", "MMMMd", "MMMd", "y", "yy", "yQQQQ", "yyQQQ"]
    for k, s in enumerate(skel):
        f[39 + k] = cldr_pattern(cl["skel." + s])
    f[47], f[48] = "%U %Y", "%U %y"
    f[49] = date_separator(f[29])
    names = [("abmon", 50, 12), ("mon", 62, 12), ("abday", 74, 7),
             ("day", 81, 7)]
    for key, first, n in names:
        vals = L.get("LC_TIME", key)
        assert vals and len(vals) == n, (L.name, key)
        for k in range(n):
            f[first + k] = vals[k]
    f[88], f[89] = ampm_src[0], ampm_src[1]
    for k in range(4):
        f[90 + k] = cl["qabbr.%d" % k]
        f[94 + k] = cl["qwide.%d" % k]


def money_fields(f, code, C, cl):
    m = lambda k: C.one("LC_MONETARY", k)
    f[98] = m("int_curr_symbol").strip()
    f[99] = m("currency_symbol")
    if code in CLDR_CURRENCY:
        f[98], f[99] = cl["cur.code"], cl["cur.symbol"]
    f[100] = m("mon_decimal_point")
    f[101] = m("mon_thousands_sep")
    f[102] = first_group(C.get("LC_MONETARY", "mon_grouping"))
    f[103] = ""
    f[104] = m("negative_sign") or "-"
    keys = ["int_frac_digits", "frac_digits", "p_cs_precedes",
            "p_sep_by_space", "n_cs_precedes", "n_sep_by_space",
            "p_sign_posn", "n_sign_posn"]
    for k, key in enumerate(keys):
        f[105 + k] = m(key) or "0"


def number_fields(f, C, cl):
    n = lambda k: C.one("LC_NUMERIC", k)
    f[115] = n("decimal_point")
    f[116] = n("thousands_sep")
    f[117] = first_group(C.get("LC_NUMERIC", "grouping"))
    f[118] = ""
    f[119] = "-"
    f[120:126] = ["0", "0", "0", "0", "1", "1"]
    f[113] = currency_pattern(cl["num.currency"], f[100], f[101], f[112])
    f[114] = f[113]
    dec = cl["num.decimal"].split(";")[0]
    pct = cl["num.percent"].split(";")[0]
    f[126] = localize(dec, f[115], f[116])
    f[127] = dec
    f[128] = localize(pct, f[115], f[116])
    f[129] = pct


def other_fields(f, code, L, C):
    h = C.one("LC_PAPER", "height")
    w = C.one("LC_PAPER", "width")
    f[7] = paper_name(h, w)
    f[130], f[131] = h, w
    f[132] = L.one("LC_NAME", "name_fmt")
    f[133] = L.one("LC_NAME", "name_gen")
    if not f[133] and code in NAME_GEN_FROM:
        f[133] = LocaleSource.load(NAME_GEN_FROM[code]).one("LC_NAME",
                                                             "name_gen")
    if f[133] == "-san" and L.one("LC_ADDRESS", "lang_ab") != "ja":
        f[133] = ""  # a Japanese suffix copied into other sources
    us = LocaleSource.load("en_US")
    for k, key in ((134, "name_mr"), (135, "name_mrs"), (136, "name_ms")):
        f[k] = L.one("LC_NAME", key) or us.one("LC_NAME", key)
    f[137] = L.one("LC_NAME", "name_miss")
    if not f[137] and code in NAME_MISS_FROM:
        f[137] = LocaleSource.load(NAME_MISS_FROM[code]).one("LC_NAME",
                                                              "name_miss")
    f[138] = C.one("LC_ADDRESS", "postal_fmt")
    f[139] = C.one("LC_TELEPHONE", "tel_int_fmt")
    f[140] = "1" if C.one("LC_MEASUREMENT", "measurement") == "2" else "0"


def build_record(rec, cldr):
    rid, name, lang, country = rec
    code, L, C = sources_of(lang, country)
    cl = cldr[icu_id(code)]
    f = [""] * NFIELDS
    f[0] = name
    f[1], f[3] = name.split("_")
    f[2] = lang
    f[4] = L.one("LC_ADDRESS", "lang_ab") or lang
    f[5] = country
    lib, term = L.one("LC_ADDRESS", "lang_lib"), L.one("LC_ADDRESS", "lang_term")
    f[12] = lib if lib and (lib != term or code in SECONDARY_LANGUAGE) else ""
    f[13:18] = ["NLDATE16.", "NLDATM24.", "NLTIME8.", "BEST12.", "PERCENT12."]
    f[18:28] = GRAPHICS_FONTS
    time_fields(f, L, cl)
    f[6] = date_order(f[29])
    money_fields(f, code, C, cl)
    number_fields(f, C, cl)
    other_fields(f, code, L, C)
    return f


# Fonts for the double-byte scripts, from fontconfig's list of non-Latin
# families (each tagged there with the languages it serves).
FONT_CONF = "/etc/fonts/conf.d/65-nonlatin.conf"
FONT_TAGS = {"zh_CN": "zh-cn", "zh_SG": "zh-cn", "zh_XX": "zh-cn",
             "zh_HK": "zh-tw", "zh_MO": "zh-tw", "zh_TW": "zh-tw",
             "ja_JP": "ja", "ko_KR": "ko"}


def font_fields(code):
    tag = FONT_TAGS.get(code)
    if tag is None:
        return ["", "", "", ""]
    text = open(FONT_CONF, encoding="utf-8").read()
    found = []
    for block in re.findall(r"<alias>(.*?)</alias>", text, re.S):
        g = re.search(r"<family>([^<]+)</family>", block)
        generic = g.group(1) if g else ""
        for fam, note in re.findall(
                r"<family>([^<]+)</family>\s*<!--([^>]*)-->", block):
            langs = re.search(r"\(([^)]*)\)", note)
            if langs and tag in [x.strip() for x in langs.group(1).split(",")]:
                entry = "%s;%s" % (generic, fam)
                if entry not in found:
                    found.append(entry)
    assert len(found) >= 4, (code, found)
    return found[:4]


# ------------------------------------------------------------- overrides
# The en_US record is the reference record of the database.
EN_US = (["English_UnitedStates", "English", "en", "UnitedStates", "en", "US",
          "MDY", "LETTER", "", "", "", "", "", "NLDATE16.", "NLDATM24.",
          "NLTIME8.", "BEST12.", "PERCENT12."] + GRAPHICS_FONTS +
         ["%B %d, %Y", "%m/%d/%Y", "%B %d, %Y %I:%M:%S %p", "%d%b%y:%H:%M:%S",
          "%b %e, %Y %I:%M:%S %p", "%A, %B %d, %Y %I:%M:%S %p",
          "%a, %b %d, %Y %I:%M:%S %p", "%I:%M:%S %p", "%H:%M:%S",
          "%A, %B %d, %Y", "%a, %b %d, %y", "%B %Y", "%b %y", "%B %d",
          "%b %d", "%Y", "%y", "%Q %Y", "%q %y", "Week %U %Y", "W%U %y", "/"] +
         "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split() +
         ("January February March April May June July August September "
          "October November December").split() +
         "Sun Mon Tue Wed Thu Fri Sat".split() +
         "Sunday Monday Tuesday Wednesday Thursday Friday Saturday".split() +
         ["AM", "PM"] +
         ["1st quarter", "2nd quarter", "3rd quarter", "4th quarter"] * 2 +
         ["USD", "$", ".", ",", "3", "", "-", "2", "2", "1", "0", "1", "0",
          "1", "0", "\u00a4#,##0.00;(\u00a4#,##0.00)",
          "\u00a4#,##0.00;(\u00a4#,##0.00)", ".", ",", "3", "", "-", "0", "0",
          "0", "0", "1", "1", "#,##0.###", "#,##0.###", "#,##0%", "#,##0%",
          "279", "216", "%p%t%g%t%m%t%f", "", "Mr.", "Mrs.", "Ms.", "",
          "%z%c%T%s%b%e%r", "+%c ;%a ;%l", "1", "", ""])


def apply_overrides(records):
    assert len(EN_US) == NFIELDS
    records[51] = list(EN_US)
    af = records[0]
    af[100], af[101], af[115], af[116] = ",", ".", ",", "."
    af[113] = currency_pattern("\u00a4#,##0.00", ",", ".", af[112])
    af[114] = af[113]
    af[126] = localize(af[127], ",", ".")
    af[128] = localize(af[129], ",", ".")
    records[77][6] = "YDM"
    for k in range(134, 138):
        records[132][k] = ""  # the record without a country has no titles


# ------------------------------------------------------------ the checks
def present(records, k):
    return sum(1 for f in records if f[k])


def check(records, enc):
    assert len(records) == 133 and all(len(f) == NFIELDS for f in records)
    assert enc[51] == [escape_field(k, v) for k, v in enumerate(EN_US)]
    assert enc[0][113] == "<u00a4>#.##0,00"
    assert enc[0][115] == "," and enc[0][116] == "."
    assert enc[75][99] == "<UFFE5>", enc[75][99]
    assert [i for i, f in enumerate(records) if f[6] == "YDM"] == [77]
    for k in (103, 118, 141, 142):
        assert present(records, k) == 0, k
    for k in range(8, 12):
        assert present(records, k) == 8, k
    for k in (134, 135, 136):
        assert present(records, k) == 132, k
    for f in records:
        assert f[6] in ("DMY", "MDY", "YMD", "YDM"), f[0]
    for k, n in {12: 47, 49: 119, 133: 22, 137: 82}.items():
        got = present(records, k)
        assert got == n, "field %d present in %d records, not %d" % (k, got, n)


# ------------------------------------------------------------ the output
def escape_field(k, v):
    t = escape_text(v)
    if k in (113, 114):
        t = t.replace("\xa4", "<u00a4>")
    return t


def c_string(t):
    out = ['"']
    for ch in t:
        b = ord(ch)
        if ch in '"\\':
            out.append("\\" + ch)
        elif ch == "?":
            out.append("\\?")  # no trigraphs
        elif 0x20 <= b < 0x7F:
            out.append(ch)
        else:
            out.append("\\%03o" % b)
    out.append('"')
    return "".join(out)


# The Debian packages whose files the records come from.  Their versions
# are written into the output so that the regeneration test compares only
# against the same sources.
SOURCE_PACKAGES = ("locales", "libicu-dev", "fontconfig-config")


def source_versions():
    out = []
    for pkg in SOURCE_PACKAGES:
        try:
            v = subprocess.run(["dpkg-query", "-W", "-f=${Version}", pkg],
                               capture_output=True, text=True).stdout.strip()
        except OSError:
            v = ""
        out.append("%s=%s" % (pkg, v or "unknown"))
    return " ".join(out)


def emit(records, enc):
    lines = [
        "// Generated by tools/gen_locale_db.py from the locale definition",
        "// sources and CLDR; do not edit (docs/locale-data.md describes each",
        "// field).  Texts are narrow: Latin-1 bytes, other characters as",
        "// <Uxxxx> escapes.",
        "// clang-format off",
        "// Sources: " + source_versions(),
        '#include "nls/locale_data.h"',
        "",
        "namespace valfmt {",
        "",
        "extern constexpr LocaleRecord ZOXlocaleData[kLocaleCount] = {",
    ]
    for rec, fields in zip(records, enc):
        lines.append("    // %s" % rec[0])
        lines.append("    {")
        for k, t in enumerate(fields):
            lines.append("        %s,  // %d" % (c_string(t) if t else "{}", k))
        lines.append("    },")
    lines += ["};", "",
              "extern constexpr int32_t kDefaultLocaleIndex =",
              "    default_record_index(ZOXlocaleData);", "",
              "}  // namespace valfmt", "// clang-format on", ""]
    return "\n".join(lines)


def generate():
    recs = parse_records()
    cldr = cldr_data([icu_id("%s_%s" % (r[2], r[3])) for r in recs])
    records = []
    for r in recs:
        f = build_record(r, cldr)
        f[8:12] = font_fields("%s_%s" % (r[2], r[3]))
        records.append(f)
    apply_overrides(records)
    enc = [[escape_field(k, v) for k, v in enumerate(f)] for f in records]
    check(records, enc)
    return emit(records, enc)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", default=os.path.join(ROOT, "src", "nls",
                                                  "locale_data.cpp"))
    ap.add_argument("--check", metavar="FILE")
    a = ap.parse_args()
    text = generate()
    if a.check:
        with open(a.check, encoding="latin-1") as f:
            same = f.read() == text
        print("same" if same else "differs")
        return 0 if same else 1
    with open(a.out, "w", encoding="latin-1", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
