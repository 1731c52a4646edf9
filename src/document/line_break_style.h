// How a document's line breaks are written back: the style of the file it came
// from (its first line break), CR LF for a new document.
#pragma once

enum class LineBreakStyle { CrLf, Lf, Cr };
