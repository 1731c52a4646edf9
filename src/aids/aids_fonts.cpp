#include "aids/aids_fonts.h"

#include "aids/accent_table.h"

#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QTransform>

QFont phoneticFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans"),
                      QStringLiteral("NanumGothic")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

QFont hangulFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("NanumGothic"), QStringLiteral("NanumBarunGothic"),
                      QStringLiteral("Noto Sans CJK KR"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

namespace {

// The spacing (modifier-letter) form of each combining mark on the pads.
char16_t spacingForm(char16_t mark)
{
    switch (mark) {
    case 0x0300:
        return 0x02CB; // grave
    case 0x0301:
        return 0x02CA; // acute
    case 0x0302:
        return 0x02C6; // circumflex
    case 0x0304:
        return 0x02C9; // macron
    case 0x030C:
        return 0x02C7; // caron
    default:
        return 0;
    }
}

} // namespace

void drawAccentGlyph(QPainter &painter, const QRectF &box, char16_t code)
{
    const char16_t spacing = isCombiningMark(code) ? spacingForm(code) : 0;
    if (!spacing) {
        painter.drawText(box, Qt::AlignCenter, accentCaption(code));
        return;
    }
    const qreal size = painter.fontInfo().pixelSize();
    const qreal radius = size * 0.3;
    const QPointF centre(box.center().x(), box.center().y() + size * 0.16);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen dots = painter.pen();
    dots.setWidthF(1.2);
    dots.setDashPattern({1.2, 1.6});
    painter.setPen(dots);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
    // The mark sits just above the circle, as it would above a lower-case
    // letter; its outline gives the exact ink, which font metrics do not.
    QPainterPath mark;
    mark.addText(0, 0, painter.font(), QString(QChar{spacing}));
    mark = QTransform::fromScale(1.3, 1.3).map(mark); // the spacing forms are drawn small
    const QRectF ink = mark.boundingRect();
    const QPointF shift(centre.x() - ink.center().x(), centre.y() - radius - 2 - ink.bottom());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(mark.translated(shift), painter.pen().color());
    painter.restore();
}
