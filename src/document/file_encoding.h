// The decodings a file can be read with and the byte-order marks it can start
// with: what the document remembers of how its file was read.
#pragma once

// The decoding chosen for a file; the values are what the load routines receive.
// EUCKR and CP949 both decode through the code page 949 decoder; they differ in
// the label only (CP949 when the file holds codes outside KS X 1001). UTF16BE is
// big-endian whatever the mark says; only the user chooses it.
enum FileEncoding : int {
    SJIS = 0,
    UTF16 = 1,
    UTF16LE = 2,
    UTF8 = 3,
    EUC = 4,
    EUCKR = 5,
    CP949 = 6,
    UTF16BE = 7
};

// The mark a file starts with.
enum BomKind : int {
    LittleEndianBom = 0, // FF FE
    BigEndianBom = 1,    // FE FF
    Utf8Bom = 2,         // EF BB BF
    NoBom = -1,          // none of these, also a file shorter than a mark
    Unreadable = -2,     // the file cannot be opened
};
