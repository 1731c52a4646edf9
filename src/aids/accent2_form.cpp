#include "aids/accent2_form.h"

#include "aids/accent_table.h"
#include "aids/aids_fonts.h"
#include "aids/input_target.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int Pitch = 28;
constexpr int Cell = 26;
// Wide enough that clicks right of the last column land on the picture and do nothing.
constexpr int PictureWidth = 393;
constexpr int PictureHeight = 225;
} // namespace

AccentPadPicture::AccentPadPicture(QWidget *parent) : ClickPicture(parent)
{
    setFixedSize(PictureWidth, PictureHeight);
    setAccessibleName(tr("Accent characters"));
    setFont(phoneticFont(17));
}

void AccentPadPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QColor face = palette().color(QPalette::Base);
    const QColor edge = palette().color(QPalette::Mid);
    painter.setPen(palette().color(QPalette::Text));
    for (int r = 0; r < AccentRows; ++r)
        for (int c = 0; c < AccentColumns; ++c) {
            // The box's outline runs along the cell's outermost pixels: x from
            // 28c - 1 to 28c + 26, y from 28r to 28r + 25; the dead bands stay bare.
            const QRectF box(Pitch * c - 0.5, Pitch * r + 0.5, Cell + 1, Cell - 1);
            painter.save();
            painter.setPen(edge);
            painter.setBrush(face);
            painter.drawRect(box);
            painter.restore();
            drawAccentGlyph(painter, box, accentCells[r][c].code);
        }
}

Taccent2form::Taccent2form(QWidget *owner, InputTargetSource target)
    : QWidget(owner, Qt::Tool), m_target(std::move(target))
{
    setObjectName(QStringLiteral("accent2form"));
    setWindowTitle(tr("Accent PAD"));
    setFixedSize(397, 232);
    Image1 = new AccentPadPicture(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(4, 4);
    connect(Image1, &AccentPadPicture::clickedAt, this, &Taccent2form::Image1Click);
}

Taccent2form::~Taccent2form() {}

void Taccent2form::Image1Click(QPoint pos)
{
    // The toolkit gives the position relative to the picture: no frame offsets.
    if (const char16_t code = accentImageCodeAt(pos.x(), pos.y()))
        InsertAccentCharacter(m_target(), code);
}
