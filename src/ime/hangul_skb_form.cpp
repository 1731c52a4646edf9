#include "ime/hangul_skb_form.h"

#include "aids/aids_fonts.h"
#include "ime/ime_commands.h"
#include "ime/screen_keyboard_layout.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int PictureMargin = 2;

QRectF capOutline(const KeyCap &cap)
{
    // Inclusive pixel bounds; the outline runs through the outermost pixels.
    return QRectF(cap.left + 0.5, cap.top + 0.5, cap.right - cap.left, cap.bottom - cap.top);
}

} // namespace

ScreenKeyboardPicture::ScreenKeyboardPicture(QWidget *parent) : ClickPicture(parent)
{
    setFixedSize(ScreenKeyboardWidth, ScreenKeyboardHeight);
    setAccessibleName(tr("Hangul keyboard"));
    setCursor(Qt::PointingHandCursor);
}

void ScreenKeyboardPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(rect(), QColor(0xD8, 0xDB, 0xE0));

    const QColor activeFace(0xFC, 0xFC, 0xFC), silentFace(0xE9, 0xEB, 0xEE);
    const QColor edge(0x80, 0x86, 0x90), ink(0x10, 0x10, 0x10), latinInk(0x20, 0x40, 0xA0);
    const QColor silentInk(0x90, 0x94, 0x9A), shiftedInk(0xA0, 0x20, 0x20);
    const QFont latinFont = hangulFont(11, true);
    const QFont jamoFont = hangulFont(17);
    const QFont labelFont = hangulFont(13, true);

    for (const KeyCap &cap : screenKeyboardCaps()) {
        const bool silent = cap.kind == KeyCapKind::Digit || cap.kind == KeyCapKind::Blank;
        const QRectF outline = capOutline(cap);
        p.setPen(QPen(edge, 1));
        p.setBrush(silent ? silentFace : activeFace);
        p.drawRoundedRect(outline, 4, 4);

        const QRectF inner = outline.adjusted(3, 1, -3, -1);
        switch (cap.kind) {
        case KeyCapKind::Letter: {
            // Latin letter in the upper-left corner; the shifted jamo fills the
            // upper half, the plain jamo the lower half (the halves the hit
            // table distinguishes on the Q row).
            p.setFont(latinFont);
            p.setPen(latinInk);
            p.drawText(inner, Qt::AlignLeft | Qt::AlignTop, QString(QChar(cap.latin)));
            const qreal split = outline.top() + outline.height() / 2;
            const QRectF upper(inner.left(), inner.top(), inner.width(), split - inner.top());
            const QRectF lower(inner.left(), split, inner.width(), inner.bottom() - split);
            p.setFont(jamoFont);
            if (cap.shifted) {
                p.setPen(shiftedInk);
                p.drawText(upper, Qt::AlignRight | Qt::AlignVCenter, QString(QChar(cap.shifted)));
            }
            p.setPen(ink);
            p.drawText(lower, Qt::AlignRight | Qt::AlignVCenter, QString(QChar(cap.plain)));
            break;
        }
        case KeyCapKind::Digit:
            p.setFont(latinFont);
            p.setPen(silentInk);
            p.drawText(inner, Qt::AlignLeft | Qt::AlignTop, QString(QChar(cap.latin)));
            break;
        case KeyCapKind::Backspace:
        case KeyCapKind::Enter:
        case KeyCapKind::Space:
            p.setFont(labelFont);
            p.setPen(ink);
            p.drawText(outline, Qt::AlignCenter, keyCapLabel(cap.kind));
            break;
        case KeyCapKind::Blank:
            break;
        }
    }
}

Thangulskbform::Thangulskbform(QWidget *owner, InputTargetSource target)
    : QWidget(owner, Qt::Tool), m_target(std::move(target))
{
    setObjectName(QStringLiteral("hangulskbform"));
    setWindowTitle(tr("Hangul Screen keyboard(key click)"));
    // Clicking a key must not take the keyboard focus from the editor the keys go to.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    Image1 = new ScreenKeyboardPicture(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(PictureMargin, PictureMargin);
    setFixedSize(ScreenKeyboardWidth + 2 * PictureMargin, ScreenKeyboardHeight + 2 * PictureMargin);
    connect(Image1, &ScreenKeyboardPicture::clickedAt, this, &Thangulskbform::Image1Click);
}

Thangulskbform::~Thangulskbform() {}

void Thangulskbform::Image1Click(QPoint pos)
{
    // The toolkit gives the position relative to the picture: no frame allowances.
    const int key = screenKeyboardKeyAt(pos.x(), pos.y());
    if (key != 0 && m_target)
        SendScreenKeyboardKey(m_target(), key);
}

void Thangulskbform::setVisible(bool visible)
{
    if (visible && !m_placed && parentWidget()) {
        m_placed = true;
        // First shown just below the main window, kept on its screen.
        const QRect owner = parentWidget()->frameGeometry();
        QRect area = geometry();
        area.moveTopLeft(QPoint(owner.left(), owner.bottom() + 1));
        if (const QScreen *screen = parentWidget()->screen()) {
            const QRect avail = screen->availableGeometry();
            if (area.bottom() > avail.bottom())
                area.moveBottom(avail.bottom());
            if (area.right() > avail.right())
                area.moveRight(avail.right());
            area.moveLeft(std::max(area.left(), avail.left()));
            area.moveTop(std::max(area.top(), avail.top()));
        }
        move(area.topLeft());
    }
    QWidget::setVisible(visible);
}
