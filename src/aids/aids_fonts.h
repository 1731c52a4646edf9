// Fonts the input aids draw with: faces that carry the phonetic symbols and the
// Hangul jamo, with the platform's fallback behind them.
#pragma once

#include <QFont>

QFont phoneticFont(int pixelSize);
QFont hangulFont(int pixelSize, bool bold = false);

class QPainter;
class QRectF;

// Draws a pad character centred in `box` with the painter's font and pen. A
// combining mark has no base of its own: it is drawn as its spacing form over a
// dotted circle, which reads the same in every font.
void drawAccentGlyph(QPainter &painter, const QRectF &box, char16_t code);
