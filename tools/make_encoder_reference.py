#!/usr/bin/env python3
"""Writes the reference files of the encoder test: texts and what Python's own
codecs make of them. Standard library only.

    python3 tools/make_encoder_reference.py OUTDIR

For each case OUTDIR gets NAME.txt (the text, UTF-16LE without mark, line breaks
LF) and NAME.bytes (the file Python's codec writes, with the mark where the
format has one, each LF written as the case's line break), and "manifest.tsv"
lists: name, format, line break (lf or crlf). Texts: every character of each
code table, and the Korean and Japanese FAQ of the detection corpus (Debian's
debian-faq-ko / debian-faq-ja), the Korean one also with extension syllables.
A character our tables cannot give (or, for EUC-JP, one of the four codes where
our table differs from Python's euc_jp) becomes "?" in the text first; those
four are checked by the test itself.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import gen_code_tables  # noqa: E402
import make_detection_corpus  # noqa: E402

# Where our EUC-JP table differs from Python's euc_jp.
EUC_EXCEPTIONS = {0x203E, 0x2014, 0x00A5, 0xFF07}


def clean(text, table, drop=()):
    chars = {ch for ch in table.values()}
    return "".join(c if c == "\n" or ord(c) < 0x80 or (ord(c) in chars and ord(c) not in drop)
                   else "?" for c in text)


def table_text(table, drop=()):
    chars = sorted({ch for ch in table.values() if ch >= 0x80 and ch not in drop})
    lines = ["".join(chr(c) for c in chars[i:i + 40]) for i in range(0, len(chars), 40)]
    return "\n".join(lines)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    sjis = gen_code_tables.sjis_table()
    euc = gen_code_tables.euc_table()
    cp949 = gen_code_tables.cp949_table()
    # KS X 1001 alone (both bytes from 0xA1): Python's euc_kr would write any
    # other syllable as the eight-byte jamo sequence of KS X 1001's annex.
    ks = {code: ch for code, ch in cp949.items() if code >> 8 >= 0xA1 and code & 0xFF >= 0xA1}
    ko = make_detection_corpus.read_source("ko")
    ko_slang = make_detection_corpus.with_slang(ko)
    ja = make_detection_corpus.read_source("ja")
    cases = [
        ("table-cp932", "ShiftJis", "cp932", table_text(sjis), "lf"),
        ("table-euc_jp", "EucJp", "euc_jp", table_text(euc, EUC_EXCEPTIONS), "lf"),
        ("table-cp949", "Cp949", "cp949", table_text(cp949), "crlf"),
        ("ja-cp932", "ShiftJis", "cp932", clean(ja, sjis), "crlf"),
        ("ja-euc_jp", "EucJp", "euc_jp", clean(ja, euc, EUC_EXCEPTIONS), "lf"),
        ("ko-euc_kr", "Cp949", "euc_kr", clean(ko, ks), "lf"),
        ("ko_ext-cp949", "Cp949", "cp949", clean(ko_slang, cp949), "crlf"),
        ("ko_ext-utf-8", "Utf8", "utf-8", ko_slang, "lf"),
        ("ja-utf-8-sig", "Utf8Bom", "utf-8-sig", ja, "crlf"),
        ("ko-utf-16-le", "Utf16Le", "utf-16-le", ko, "crlf"),
        ("ja-utf-16-be", "Utf16Be", "utf-16-be", ja + "\U0001F600", "lf"),
    ]
    marks = {"utf-16-le": b"\xff\xfe", "utf-16-be": b"\xfe\xff"}
    rows = []
    for name, fmt, codec, text, breaks in cases:
        with open(os.path.join(out, name + ".txt"), "wb") as f:
            f.write(text.encode("utf-16-le"))
        written = text.replace("\n", "\r\n") if breaks == "crlf" else text
        data = marks.get(codec, b"") + written.encode(codec)
        with open(os.path.join(out, name + ".bytes"), "wb") as f:
            f.write(data)
        rows.append("%s\t%s\t%s" % (name, fmt, breaks))
    with open(os.path.join(out, "manifest.tsv"), "w", encoding="utf-8") as f:
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
