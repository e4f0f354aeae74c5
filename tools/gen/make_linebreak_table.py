#!/usr/bin/env python3
"""Writes src/layout/LineBreakTable.inc: the line-breaking class of every UTF-16 code unit,
as a two-level table (block index, then blocks of classes shared between equal blocks).

Usage: make_linebreak_table.py [LineBreak.txt [UnicodeData.txt [output]]]
The data files default to the ones of the Debian package unicode-data. Run it again only to
move to a newer Unicode version; the build uses the generated file.

The layout knows 20 classes plus the space. The Unicode property has more; each of its
classes goes to the one of ours that breaks most alike (see PROPERTY_TO_CLASS). Before the
data come a few fixed assignments that the layout relies on (see fixed_assignments); the
script also checks that the data still agree with what the layout expects of CJK text and
combining marks, so a newer Unicode version that moves them fails here, not in a test.
"""
import re
import sys

# The order is the enum's and the pair table's.
CLASSES = ['OP', 'CL', 'QU', 'GL', 'NS', 'EX', 'SY', 'IS', 'PR', 'PO',
           'NU', 'AL', 'ID', 'IN', 'HY', 'BA', 'BB', 'B2', 'ZW', 'CM', 'Space']

PROPERTY_TO_CLASS = {c: c for c in CLASSES if c != 'Space'}
PROPERTY_TO_CLASS.update({
    # Alphabetic-like: ambiguous width, unknown, complex-context (Thai, Lao, Khmer, Myanmar:
    # without a dictionary they break like words), lone surrogates (a supplementary character
    # arrives as two halves and must not break inside), Hebrew letters, and regional
    # indicators (they live outside the BMP; only their halves get here).
    'AI': 'AL', 'XX': 'AL', 'SA': 'AL', 'SG': 'AL', 'HL': 'AL', 'RI': 'AL',
    # Conditional Japanese starters (small kana, prolonged sound mark): strict breaking,
    # never at the start of a line.
    'CJ': 'NS',
    # Hangul syllables and jamo break between each other like ideographs.
    'H2': 'ID', 'H3': 'ID', 'JL': 'ID', 'JV': 'ID', 'JT': 'ID',
    # Emoji bases and modifiers stand alone like ideographs.
    'EB': 'ID', 'EM': 'ID',
    # The contingent break (object replacement character) allows a break on both sides.
    'CB': 'ID',
    # The word joiner and the zero-width no-break space glue both neighbours.
    'WJ': 'GL',
    # The zero-width joiner attaches to the character before it.
    'ZWJ': 'CM',
    # Closing parenthesis: the pair table makes no difference between the two kinds.
    'CP': 'CL',
    # Hard breaks (only U+2028 and U+2029 outside Latin-1): the line may end after one
    # but never before it, which is exactly the zero-width space's row and column.
    'BK': 'ZW', 'CR': 'ZW', 'LF': 'ZW', 'NL': 'ZW',
    # A space other than U+0020 (none so far): breakable after, like the other spaces.
    'SP': 'BA',
})


def code_range(text):
    first, _, last = text.partition('..')
    return int(first, 16), int(last or first, 16)


def read_line_break(path):
    """The property of every BMP code point, defaults for unlisted ones included."""
    prop = ['XX'] * 0x10000
    header_defaults = []  # (first, last, value) from the comment block
    pending = None
    listed = []
    with open(path, encoding='utf-8') as f:
        first_line = f.readline()
        version = re.search(r'LineBreak-(\d+\.\d+\.\d+)', first_line).group(1)
        for line in f:
            if line.startswith('#'):
                # Unassigned code points of some blocks default to another value than XX;
                # the header lists them as "default to "ID"" followed by U+XXXX..U+YYYY lines.
                m = re.search(r'default to "(\w+)"', line)
                if m:
                    pending = m.group(1)
                elif line.startswith('#  -'):
                    pending = None
                m = re.search(r'U\+([0-9A-F]{4,6})\.\.U\+([0-9A-F]{4,6})', line)
                if m and pending:
                    header_defaults.append((int(m.group(1), 16), int(m.group(2), 16), pending))
                continue
            data = line.split('#')[0].strip()
            if data:
                r, value = data.split(';')
                listed.append((code_range(r.strip()), value.strip()))
    if not any(v == 'ID' for _, _, v in header_defaults):
        sys.exit('LineBreak.txt: no default ranges found in the header')
    for first, last, value in header_defaults:
        for cp in range(first, min(last, 0xFFFF) + 1):
            prop[cp] = value
    for (first, last), value in listed:
        for cp in range(first, min(last, 0xFFFF) + 1):
            prop[cp] = value
    return version, prop


def read_general_categories(path):
    gc = ['Cn'] * 0x10000
    with open(path, encoding='utf-8') as f:
        range_start = None
        for line in f:
            fields = line.split(';')
            cp = int(fields[0], 16)
            if cp > 0xFFFF:
                break
            if fields[1].endswith('First>'):
                range_start = cp
                continue
            start = range_start if fields[1].endswith('Last>') else cp
            range_start = None
            for c in range(start, cp + 1):
                gc[c] = fields[2]
    return gc


def fixed_assignments():
    """Assignments that take precedence over the data."""
    fixed = {}
    # ASCII and Latin-1: only these carry a class of their own, every other one is AL
    # (controls included: tabs aside, the text of an item holds none that break lines).
    for cp in range(0x100):
        fixed[cp] = 'AL'
    latin = {
        'OP': [0x28, 0x5B, 0x7B],
        'CL': [0x29, 0x5D, 0x7D],
        'QU': [0x22, 0x27, 0xAB, 0xBB],
        'GL': [0xA0],
        'EX': [0x21, 0x3F],
        'SY': [0x2F],
        'IS': [0x2C, 0x2E, 0x3A, 0x3B],
        'PR': [0x24, 0x2B, 0x5C, 0xA3, 0xA4, 0xA5, 0xB1],
        'PO': [0x25, 0xA2, 0xB0],
        'NU': list(range(0x30, 0x3A)),
        'HY': [0x2D],
        'BA': [0x09, 0x7C, 0xAD],
        'BB': [0xB4],
        'Space': [0x20],
    }
    for cls, cps in latin.items():
        for cp in cps:
            fixed[cp] = cls
    general = {
        'ZW': [0x200B],
        'B2': [0x2014],
        'IN': [0x2024, 0x2025, 0x2026],
        # The fixed-width spaces and the dashes that allow a break after them.
        'BA': list(range(0x2000, 0x2007)) + list(range(0x2008, 0x200B)) + [0x2010, 0x2013],
        # Figure space, non-breaking hyphen, narrow no-break space, word joiner.
        'GL': [0x2007, 0x2011, 0x202F, 0x2060],
    }
    for cls, cps in general.items():
        for cp in cps:
            fixed[cp] = cls
    return fixed


def check_expectations(cls, gc):
    """What the layout expects of the data; stop when a Unicode version disagrees."""
    def expect(first, last, want, what):
        for cp in range(first, last + 1):
            if cls[cp] != want:
                sys.exit('U+%04X (%s) is %s, expected %s' % (cp, what, cls[cp], want))

    for first, last in [(0x3400, 0x4DBF), (0x4E00, 0x9FFF), (0xF900, 0xFAFF)]:
        expect(first, last, 'ID', 'CJK ideograph')
    expect(0xAC00, 0xD7A3, 'ID', 'Hangul syllable')
    expect(0x3042, 0x3042, 'ID', 'hiragana')
    expect(0x30A2, 0x30A2, 'ID', 'katakana')
    small_kana = [0x3041, 0x3043, 0x3045, 0x3047, 0x3049, 0x3063, 0x3083, 0x3085, 0x3087,
                  0x308E, 0x3095, 0x3096, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30C3,
                  0x30E3, 0x30E5, 0x30E7, 0x30EE, 0x30F5, 0x30F6, 0x30FC]
    for cp in small_kana + list(range(0x31F0, 0x3200)):
        expect(cp, cp, 'NS', 'small kana')
    for cp in [0x3005, 0x303B, 0x309D, 0x309E, 0x30FD, 0x30FE]:
        expect(cp, cp, 'NS', 'iteration mark')
    expect(0xFE00, 0xFE0F, 'CM', 'variation selector')
    expect(0x180B, 0x180D, 'CM', 'variation selector')
    # Combining marks: the data make a few of them glue (the combining grapheme joiner
    # and the double diacritics that span two letters); those keep GL, which forbids a
    # break before them just the same.
    for cp in range(0x10000):
        if gc[cp] in ('Mn', 'Me') and cls[cp] not in ('CM', 'GL'):
            sys.exit('U+%04X (combining mark) is %s' % (cp, cls[cp]))


def build(prop, gc):
    cls = [None] * 0x10000
    for cp in range(0x10000):
        p = prop[cp]
        if p == 'SA' and gc[cp] in ('Mn', 'Mc'):
            # The vowel signs and tone marks of complex-context scripts stay with their letter.
            cls[cp] = 'CM'
        elif p not in PROPERTY_TO_CLASS:
            sys.exit('U+%04X: unknown line-break property %s' % (cp, p))
        else:
            cls[cp] = PROPERTY_TO_CLASS[p]
    for cp, c in fixed_assignments().items():
        cls[cp] = c
    check_expectations(cls, gc)
    return [CLASSES.index(c) for c in cls]


def two_level(values, shift):
    size = 1 << shift
    blocks, index = [], []
    seen = {}
    for start in range(0, 0x10000, size):
        block = tuple(values[start:start + size])
        if block not in seen:
            seen[block] = len(blocks)
            blocks.append(block)
        index.append(seen[block])
    return index, blocks


def main():
    line_break = sys.argv[1] if len(sys.argv) > 1 else '/usr/share/unicode/LineBreak.txt'
    unicode_data = sys.argv[2] if len(sys.argv) > 2 else '/usr/share/unicode/UnicodeData.txt'
    version, prop = read_line_break(line_break)
    values = build(prop, read_general_categories(unicode_data))

    # The block size that gives the fewest bytes while block numbers still fit in a byte.
    best = None
    for shift in range(4, 10):
        index, blocks = two_level(values, shift)
        if len(blocks) > 256:
            continue
        size = len(index) + len(blocks) * (1 << shift)
        if best is None or size < best[0]:
            best = (size, shift, index, blocks)
    size, shift, index, blocks = best

    out = sys.stdout if len(sys.argv) < 4 else open(sys.argv[3], 'w', encoding='utf-8')
    out.write('// Generated by tools/gen/make_linebreak_table.py from Unicode %s LineBreak.txt;\n'
              '// do not edit.\n' % version)
    out.write('// Class of code unit c: kLineBreakBlocks[kLineBreakIndex[c >> %d]][c & %d], numbered\n'
              '// as TLineBreakClass. %d blocks of %d, %d bytes in all.\n'
              % (shift, (1 << shift) - 1, len(blocks), 1 << shift, size))
    out.write('static constexpr int kLineBreakShift = %d;\n' % shift)
    out.write('static constexpr std::uint8_t kLineBreakIndex[%d] = {\n' % len(index))
    for i in range(0, len(index), 32):
        out.write('    ' + ','.join(str(v) for v in index[i:i + 32]) + ',\n')
    out.write('};\n')
    out.write('static constexpr std::uint8_t kLineBreakBlocks[%d][%d] = {\n' % (len(blocks), 1 << shift))
    for block in blocks:
        row = ','.join(str(v) for v in block)
        out.write('    {' + row + '},\n')
    out.write('};\n')


if __name__ == '__main__':
    main()
