#!/usr/bin/env python3
"""Writes the labelled corpus of the Korean/Japanese detection test: real prose
from Debian's Korean and Japanese FAQ packages (debian-faq-ko, debian-faq-ja,
installed by tavril.sh; licence: /usr/share/doc/debian-faq-ko/copyright, verbatim
and modified copies permitted), cut at lengths from 20 bytes to 100 KB at spread
starting lines, in every encoding, the Korean text also with slang words of
extension syllables (code page 949 only) mixed in.

    python3 tools/make_detection_corpus.py OUTDIR [--per-length N]

OUTDIR gets one file per sample and "manifest.tsv": file, language, encoding,
length, Hangul syllables, kana, kanji, expected label, and whether the sample
must be read right (at least 10 Hangul syllables, or at least 10 kana and kanji
with some kana). The expected label of a Korean sample in a legacy encoding is
"EUC-KR" or "CP949" (extension codes in it); of a UTF-8 or ASCII-only sample
"UTF-8 nonBOM"; of
a Japanese sample what the written checks give (UTF-8 / Shift JIS / EUC-JP
plausibility), since Japanese keeps its written labels.
"""
import gzip
import os
import sys

SOURCES = {
    "ko": "/usr/share/doc/debian/FAQ/debian-faq.ko.txt.gz",
    "ja": "/usr/share/doc/debian/FAQ/debian-faq.ja.txt.gz",
}
LENGTHS = [20, 30, 50, 80, 120, 200, 350, 600, 1000, 2000, 5000, 10000, 30000, 60000, 100000]
SAMPLE = 60010
# Names, slang and chat words whose syllables only code page 949 holds.
SLANG = ["똠방각하", "햏햏", "뷁", "쀍", "믜", "햏자", "똠얌꿍", "뷁어", "쌰갈", "즐"]


def read_source(lang):
    with gzip.open(SOURCES[lang], "rt", encoding="utf-8") as f:
        return f.read()


def with_slang(text):
    """Puts a slang word after every seventh word of each line of Korean (lines
    without Hangul, English or commands, are left as they are)."""
    out = []
    k = 0
    for line in text.split("\n"):
        if not any(0xAC00 <= ord(c) <= 0xD7A3 for c in line):
            out.append(line)
            continue
        words = line.split(" ")
        for i in range(6, len(words), 7):
            words[i] = words[i] + " " + SLANG[k % len(SLANG)]
            k += 1
        out.append(" ".join(words))
    return "\n".join(out)


# The written plausibility checks over a sample (the last byte never examined).
def check_utf8(s):
    n, i = len(s), 0
    if n == 0:
        return False
    while i < n:
        if i + 1 >= n:
            break
        c = s[i]
        cont = lambda b: 0x80 <= b <= 0xBF
        if c < 0x80:
            i += 1
        elif 0xC2 <= c <= 0xDF:
            if not cont(s[i + 1]):
                return False
            i += 2
        elif c <= 0xEF:
            if i + 2 >= n:
                break
            if not (cont(s[i + 1]) and cont(s[i + 2])):
                return False
            i += 3
        elif c <= 0xFE:
            if i + 3 >= n:
                break
            if not all(cont(b) for b in s[i + 1:i + 4]):
                return False
            i += 4
        else:
            i += 1
    return True


def check_sjis(s):
    n, i = len(s), 0
    if n == 0:
        return False
    while i < n:
        if i + 1 >= n:
            break
        c = s[i]
        if 0x81 <= c <= 0x9F or 0xE0 <= c <= 0xFC:
            t = s[i + 1]
            if not (0x40 <= t <= 0xFC and t != 0x7F):
                return False
            i += 2
        elif c < 0x80 or 0xA1 <= c <= 0xDF:
            i += 1
        else:
            return False
    return True


def check_euc(s):
    n, i = len(s), 0
    if n == 0:
        return False
    row = lambda b: 0xA1 <= b <= 0xFE
    while i < n:
        if i + 1 >= n:
            break
        c = s[i]
        if row(c):
            if not row(s[i + 1]):
                return False
            i += 2
        elif c == 0x8E:
            if not 0xA1 <= s[i + 1] <= 0xDF:
                return False
            i += 2
        elif c == 0x8F:
            if not row(s[i + 1]):
                return False
            if i + 2 >= n:
                break
            if not row(s[i + 2]):
                return False
            i += 3
        elif c >= 0x80:
            return False
        else:
            i += 1
    return True


def written_label(data):
    s = data[:SAMPLE]
    u, j, e = check_utf8(s), check_sjis(s), check_euc(s)
    choice = "UTF-8 nonBOM"
    if not u and j and e:
        choice = "SJIS"
    if u and not j and not e:
        choice = "UTF-8 nonBOM"
    if j and not u and not e:
        choice = "SJIS"
    if e and not u and not j:
        choice = "EUC"
    return choice


def has_extension(data):
    """A code page 949 code beyond KS X 1001 among the sample's pairs."""
    i, n = 0, min(len(data), SAMPLE)
    while i < n:
        c = data[i]
        if c < 0x80:
            i += 1
            continue
        if i + 1 >= n:
            break
        if c < 0xA1 or data[i + 1] < 0xA1:
            return True
        i += 2
    return False


def counts(text):
    hangul = sum(1 for c in text if 0xAC00 <= ord(c) <= 0xD7A3)
    kana = sum(1 for c in text if 0x3041 <= ord(c) <= 0x30FA)
    kanji = sum(1 for c in text if 0x4E00 <= ord(c) <= 0x9FFF)
    return hangul, kana, kanji


def main():
    outdir = sys.argv[1]
    per_length = 8
    if "--per-length" in sys.argv:
        per_length = int(sys.argv[sys.argv.index("--per-length") + 1])
    os.makedirs(outdir, exist_ok=True)
    variants = []
    ko = read_source("ko")
    ko_slang = with_slang(ko)
    ja = read_source("ja")
    variants += [("ko", "euc_kr", ko), ("ko", "utf-8", ko), ("ko+ext", "cp949", ko_slang),
                 ("ko+ext", "utf-8", ko_slang)]
    variants += [("ja", "cp932", ja), ("ja", "euc_jp", ja), ("ja", "utf-8", ja)]
    rows = []
    for lang, codec, text in variants:
        lines = text.split("\n")
        # Byte offsets of the line starts in this encoding.
        starts, pos = [], 0
        encoded_lines = [line.encode(codec, errors="replace") + b"\n" for line in lines]
        for b in encoded_lines:
            starts.append(pos)
            pos += len(b)
        data = b"".join(encoded_lines)
        for length in LENGTHS:
            room = len(data) - length
            if room <= 0:
                continue
            for k in range(per_length):
                target = room * (2 * k + 1) // (2 * per_length)
                # The line start at or before the target.
                lo, hi = 0, len(starts) - 1
                while lo < hi:
                    mid = (lo + hi + 1) // 2
                    if starts[mid] <= target:
                        lo = mid
                    else:
                        hi = mid - 1
                cut = data[starts[lo]:starts[lo] + length]
                name = "%s-%s-%06d-%d.txt" % (lang.replace("+", "_"), codec, length, k)
                with open(os.path.join(outdir, name), "wb") as f:
                    f.write(cut)
                decoded = cut.decode(codec, errors="ignore")
                hangul, kana, kanji = counts(decoded)
                if codec == "utf-8" or max(cut) < 0x80:
                    label = "UTF-8 nonBOM"  # ASCII alone is UTF-8 by the written rules
                elif lang.startswith("ko"):
                    label = "CP949" if has_extension(cut) else "EUC-KR"
                else:
                    label = written_label(cut)
                if lang.startswith("ko"):
                    required = hangul >= 10
                else:
                    required = kana + kanji >= 10 and kana > 0
                rows.append("\t".join(str(x) for x in (
                    name, lang, codec, length, hangul, kana, kanji, label, int(required))))
    with open(os.path.join(outdir, "manifest.tsv"), "w", encoding="utf-8") as f:
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
