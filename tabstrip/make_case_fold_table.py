#!/usr/bin/env python3
"""Prints the simple case-folding table of tabstrip/TabKey.cpp.

Simple case folding is the one-to-one subset of Unicode's CaseFolding.txt
(statuses C and S). Python's str.casefold() is the full folding (C and F): every
code point whose full folding is one code point folds the same way under simple
folding, and the few with an S entry are listed below. The table is a sorted list
of non-overlapping runs {first, last, delta, step}: every step-th code point from
first to last folds to itself plus delta.

Usage: make_case_fold_table.py > table.inc, then paste the lines into TabKey.cpp.
"""
import sys
import unicodedata

# The status S entries: one-to-one foldings of code points whose full folding is longer.
SIMPLE_ONLY = {0x1E9E: 0x00DF, 0x1FBC: 0x1FB3, 0x1FCC: 0x1FC3, 0x1FFC: 0x1FF3}
for upper, lower in ((0x1F88, 0x1F80), (0x1F98, 0x1F90), (0x1FA8, 0x1FA0)):
    for i in range(8):
        SIMPLE_ONLY[upper + i] = lower + i


def simple_folding():
    folds = {}
    for cp in range(0x110000):
        if 0xD800 <= cp < 0xE000:
            continue
        full = chr(cp).casefold()
        if len(full) == 1 and ord(full) != cp:
            folds[cp] = ord(full)
    for cp, target in SIMPLE_ONLY.items():
        assert cp not in folds
        folds[cp] = target
    return folds


def runs(folds):
    pending = sorted(folds)
    taken = set()
    result = []
    for cp in pending:
        if cp in taken:
            continue
        delta = folds[cp] - cp
        last = cp
        while last + 1 in folds and last + 1 not in taken and folds[last + 1] - (last + 1) == delta:
            last += 1
        alt = cp
        while (alt + 2 in folds and alt + 1 not in folds and alt + 2 not in taken
               and folds[alt + 2] - (alt + 2) == delta):
            alt += 2
        if (alt - cp) // 2 > last - cp:
            result.append((cp, alt, delta, 2))
            taken.update(range(cp, alt + 1, 2))
        else:
            result.append((cp, last, delta, 1))
            taken.update(range(cp, last + 1))
    result.sort()
    return result


def check(table, folds):
    for (_, last, _, _), (first, _, _, _) in zip(table, table[1:]):
        assert last < first
    def fold(cp):
        for first, last, delta, step in table:
            if first <= cp <= last and (cp - first) % step == 0:
                return cp + delta
        return cp
    for cp in range(0x110000):
        if not 0xD800 <= cp < 0xE000:
            assert fold(cp) == folds.get(cp, cp), hex(cp)


def main():
    folds = simple_folding()
    table = runs(folds)
    check(table, folds)
    print(f"// Unicode {unicodedata.unidata_version}: {len(folds)} code points in {len(table)} runs.")
    line = "   "
    for first, last, delta, step in table:
        entry = " {0x%04X, 0x%04X, %d, %d}," % (first, last, delta, step)
        if len(line) + len(entry) > 116:
            print(line)
            line = "   "
        line += entry
    print(line)


if __name__ == "__main__":
    sys.exit(main())
