#include "aids/accent_form.h"

#include "aids/accent_table.h"
#include "aids/aids_fonts.h"
#include "aids/input_target.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int ButtonSize = 25;
constexpr int ButtonPitch = 28;
constexpr int Margin = 4;
} // namespace

AccentPadButton::AccentPadButton(char16_t code, QWidget *parent) : QPushButton(parent), m_code(code)
{
    // The text is for accessibility and tools; the face is drawn in paintEvent.
    setText(accentCaption(code));
    setToolTip(QStringLiteral("U+%1").arg(int(code), 4, 16, QLatin1Char('0')).toUpper());
    setFont(phoneticFont(16));
    setFixedSize(ButtonSize, ButtonSize);
}

void AccentPadButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    QRect face = rect();
    if (isDown())
        face.translate(1, 1);
    drawAccentGlyph(painter, face, m_code);
}

Taccentform::Taccentform(QWidget *owner, InputTargetSource target)
    : QWidget(owner, Qt::Tool), m_target(std::move(target))
{
    setObjectName(QStringLiteral("accentform"));
    setWindowTitle(tr("Accent PAD"));
    setFixedSize(395, 228);
    for (int r = 0; r < AccentRows; ++r)
        for (int c = 0; c < AccentColumns; ++c) {
            const AccentCell &cell = accentCells[r][c];
            auto *b = new AccentPadButton(cell.code, this);
            b->setObjectName(QString::fromLatin1(cell.name));
            b->move(Margin + ButtonPitch * c, Margin + ButtonPitch * r);
            connect(b, &QPushButton::clicked, this,
                    [this, code = cell.code] { InsertAccentCharacter(m_target(), code); });
            m_buttons[r][c] = b;
        }
}

Taccentform::~Taccentform() {}

void Taccentform::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_buttons[0][5]->setFocus(); // ButtonA0
}
