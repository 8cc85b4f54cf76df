#!/usr/bin/env python3
"""Writes the fuzz seeds that come from the unit tests' inputs, and the
dictionaries.

  fuzz/corpus/names_fuzz/             one or two seeds per name of the name
                                      table: the values and texts the tests
                                      hand to that name's function
  fuzz/corpus/encoding_fuzz/          byte strings of the encoding tests
  fuzz/corpus/names_locale_iso_fuzz/  locale names, encoding names and the
                                      ISO texts the tests read
  fuzz/dict/values.dict               names, month and day words, ISO and
                                      sign characters
  fuzz/dict/catalog.dict              the catalogue's XML tags, attributes
                                      and columns

The seeds of catalog_fuzz and access_fuzz are written by hand and kept.
Run from the repository root after the vocabulary or the tests change:
  python3 tools/gen_fuzz_seeds.py
"""
import glob
import os
import re
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROW = re.compile(r'^VF_ROW(_UNLISTED)?\(\s*(\w+),\s*"([^"]+)",\s*(\d+),\s*(\d+),'
                 r'\s*(\d+),\s*(\d+),[^,]*,[^,]*,[^,]*,\s*(.*)\)\s*$')
STRING = r'"((?:[^"\\]|\\.)*)"'
NUMBER = r'(-?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?)'


def name_table():
    """Rows of the name table in order: (name, defw, function)."""
    rows = []
    with open(os.path.join(ROOT, 'src/registry/modules.def')) as f:
        defs = re.findall(r'#include "registry/vocab/(\w+)\.def"', f.read())
    for module in defs:
        with open(os.path.join(ROOT, 'src/registry/vocab', module + '.def')) as f:
            for line in f:
                m = ROW.match(line.strip())
                if not m or m.group(1):
                    continue  # comments and rows without a name-table row
                fn = re.sub(r'VF_TODO\((\w+)\)', r'\1', m.group(8)).strip()
                rows.append((m.group(3), int(m.group(6)), fn))
    return rows


def c_string(body):
    """The bytes of a C string literal's body."""
    out = bytearray()
    i = 0
    simple = {'n': 10, 't': 9, 'r': 13, '0': 0, '\\': 92, '"': 34, "'": 39,
              'a': 7, 'b': 8, 'f': 12, 'v': 11}
    while i < len(body):
        ch = body[i]
        if ch != '\\':
            out += ch.encode('utf-8')
            i += 1
            continue
        nxt = body[i + 1]
        if nxt == 'x':
            m = re.match(r'[0-9A-Fa-f]{1,2}', body[i + 2:])
            out.append(int(m.group(0), 16))
            i += 2 + len(m.group(0))
        elif nxt in '01234567':
            m = re.match(r'[0-7]{1,3}', body[i + 1:])
            out.append(int(m.group(0), 8) & 0xFF)
            i += 1 + len(m.group(0))
        else:
            out.append(simple.get(nxt, ord(nxt)))
            i += 2
    return bytes(out)


def test_sources():
    text = {}
    for path in sorted(glob.glob(os.path.join(ROOT, 'tests/**/*.cpp'),
                                 recursive=True)):
        with open(path, encoding='utf-8', errors='replace') as f:
            text[path] = f.read()
    return text


def literals_after(sources, fn, pattern, limit):
    """Literals passed right after `fn,` in the tests (first ones found)."""
    found = []
    rx = re.compile(r'\b' + re.escape(fn) + r'\s*,\s*' + pattern)
    for src in sources.values():
        for m in rx.finditer(src):
            if m.group(1) not in found:
                found.append(m.group(1))
            if len(found) >= limit:
                return found
    return found


def literals_near(sources, words, limit):
    """String literals on test lines that mention any of the words."""
    found = []
    for src in sources.values():
        for line in src.splitlines():
            if not any(w in line for w in words):
                continue
            for body in re.findall(STRING, line):
                b = c_string(body)
                if 0 < len(b) <= 64 and b not in found:
                    found.append(b)
    return found[:limit]


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    safe = re.sub(r'[^A-Za-z0-9_.-]', '_', name)
    with open(os.path.join(folder, safe), 'wb') as f:
        f.write(data)


def clear(folder):
    for p in glob.glob(os.path.join(folder, '*')):
        os.remove(p)


def names_seeds(rows, sources):
    folder = os.path.join(ROOT, 'fuzz/corpus/names_fuzz')
    clear(folder)
    for index, (name, defw, fn) in enumerate(rows):
        if name.startswith('-') or fn == 'VF_NONE':
            continue
        # Row; w = default (choice 2), d = 0 (choice 5), outsize = 2w
        # (choice 1); narrow in and out; en_US; no options.
        head = struct.pack('<H', index) + bytes([2, 5, 1, 0, 0, 52, 0])
        informat = name.startswith('@')
        character = name.lstrip('@').startswith('$')
        if informat or character:
            texts = [c_string(t) for t in
                     literals_after(sources, fn, STRING, 2)] or [b'12']
            for k, t in enumerate(texts):
                write(folder, f'{name}-{k}', head + bytes([0]) + t)
        else:
            numbers = literals_after(sources, fn, NUMBER, 2) or ['1']
            for k, v in enumerate(numbers):
                write(folder, f'{name}-{k}',
                      head + bytes([0]) + struct.pack('<d', float(v)))
            # The value table: a missing value.
            write(folder, f'{name}-missing', head + bytes([2, 7]))


def encoding_seeds(sources):
    folder = os.path.join(ROOT, 'fuzz/corpus/encoding_fuzz')
    clear(folder)
    words = ['UTF8ToUNICODE', 'LATIN1ToUNICODE', 'UNICODEToUTF8', 'NLSNUMCHAR',
             'getUCS2Result', 'in_db(']
    for k, b in enumerate(literals_near(sources, words, 40)):
        write(folder, f'test-{k:02d}', bytes([64, 20]) + b)


def lookup_seeds(sources):
    folder = os.path.join(ROOT, 'fuzz/corpus/names_locale_iso_fuzz')
    clear(folder)
    words = ['LocnameToID', 'EncnameToID', 'is8601dui', 'is8601pdi',
             'is8601vli', 'iso_read', 'read_iso']
    found = literals_near(sources, words, 80)
    for k, b in enumerate(found):
        # Output of 32 bytes, w = the text's length.
        write(folder, f'test-{k:02d}', bytes([0x1C]) + b)
    for k, b in enumerate([b'en_US', b'iw_IL', b'zh_XX', b'utf-8', b'wlatin1',
                           b'P1Y2M3DT4H5M6S', b'2022-12-21T10:11:12.5',
                           b'2022-12-21/P1M', b'P1M/2022-03-31']):
        write(folder, f'fixed-{k}', bytes([0x1C]) + b)


def dictionaries(rows):
    folder = os.path.join(ROOT, 'fuzz/dict')
    os.makedirs(folder, exist_ok=True)

    def entry(s):
        return '"' + ''.join(chr(c) if 32 <= c < 127 and chr(c) not in '"\\'
                             else '\\x%02X' % c
                             for c in s.encode('utf-8')) + '"'

    values = sorted({r[0].lstrip('@') for r in rows if not r[0].startswith('-')})
    words = ['JAN', 'FEB', 'MAR', 'APR', 'MAY', 'JUN', 'JUL', 'AUG', 'SEP',
             'OCT', 'NOV', 'DEC', 'AM', 'PM', 'T', 'Z', 'P', 'W', 'Y', 'M',
             'D', 'H', 'S', '+00:00', '-05:00', '/', ':', '-', '.', ',', '(',
             ')', 'E+', 'E-', '$', '%', '\u20ac', '1960', '20000', '1582',
             'en_US', 'de_DE', 'ja_JP', 'UTF-8', 'WLATIN1', 'U16L', '._', '.A',
             '.Z', 'Q', 'H.', 'M.', 'S.', 'T.', 'R.']
    with open(os.path.join(folder, 'values.dict'), 'w') as f:
        f.write('# Names, month and marker words, ISO 8601 pieces, signs.\n')
        for s in values + words:
            f.write(entry(s) + '\n')
    tags = ['?xml', 'LIBRARY', 'HEADER', 'TABLE', 'TABLE-HEADER', 'COLUMN',
            'TYPE', 'DATATYPE', 'LENGTH', 'FORMAT', 'INFORMAT', 'Offset', 'ROW',
            'BUFFER', 'Provider', 'Version', 'VersionLong', 'CreationDateTime',
            'ModifiedDateTime', 'AccessedDateTime', 'Protection', 'DataSetType',
            'DataRepresentation', 'Encoding', 'ReleaseCreated', 'HostCreated',
            'FileName', 'Observations', 'Compression', 'SortAssertion',
            'Variables']
    columns = ['FMTNAME', 'START', 'END', 'LABEL', 'HLO', 'MIN', 'MAX',
               'DEFAULT', 'FUZZ', 'SEXCL', 'EEXCL', 'PREFIX', 'LANGUAGE',
               'FILL', 'DECSEP', 'DIG3SEP', 'MULT', 'NOEDIT']
    other = ['type="EXPORT"', 'name="', 'label="', 'order="', 'length="',
             'compressed="No"', 'sorted="No"', 'number="', 'numeric',
             'character', 'float', 'integer', 'string', 'date', 'time',
             'datetime', 'INMEMORY', '&amp;', '&lt;', '&#x41;', '<![CDATA[',
             '/>', '</', '"', 'LOW', 'HIGH', 'OTHER', '%Y-%m-%d', '%0d', '09',
             '99', 'N', 'C', 'P', 'L', 'H', 'O', 'S', 'R', 'F', 'M', 'Y']
    with open(os.path.join(folder, 'catalog.dict'), 'w') as f:
        f.write('# XML tags and attributes of the catalogue, its columns, '
                'HLO letters, picture directives.\n')
        for t in tags:
            f.write(entry('<' + t) + '\n')
            f.write(entry('</' + t + '>') + '\n')
        for s in columns + other:
            f.write(entry(s) + '\n')


def main():
    rows = name_table()
    if len(rows) != 518:
        sys.exit(f'name table has {len(rows)} rows, expected 518')
    sources = test_sources()
    names_seeds(rows, sources)
    encoding_seeds(sources)
    lookup_seeds(sources)
    dictionaries(rows)


if __name__ == '__main__':
    main()
