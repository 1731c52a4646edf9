// The detection and the document reader applied to a file named by its path.
#pragma once

#include "codec/encoding_detect.h"
#include "codec/text_reader.h"

#include <QString>

// Opens `path` afresh on each call.
StreamOpener fileOpener(const QString &path);

BomKind DetectBom(const QString &path);
ByteOrderResult DetectUtf16ByteOrder(const QString &path);
int CheckUtf8(const QString &path);
int CheckSjis(const QString &path);
int CheckEuc(const QString &path);
EncodingChoice ChooseEncoding(const QString &path);

// Appends the file's text to `out` (see ReadTextStream); false, with nothing
// appended, when the file cannot be opened.
bool ReadTextFile(const QString &path, FileEncoding encoding, TextBuffer &out);
