#include "convert/hanja_popup.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

enum Column { NumberColumn, HanjaColumn, MeaningColumn, ColumnCount };

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

qsizetype drawnCount(const QFont &font, const QList<uint> &chars)
{
    const QFontMetrics metrics(font);
    return std::count_if(chars.begin(), chars.end(), [&](uint c) { return metrics.inFontUcs4(c); });
}

} // namespace

HanjaPopup::HanjaPopup(QWidget *host)
    : QFrame(host, Qt::Popup), m_host(host), m_list(new QTableWidget(0, ColumnCount, this)),
      m_position(new QLabel(this))
{
    setObjectName(QStringLiteral("HanjaPopup"));
    setAccessibleName(tr("Hanja candidates"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);

    m_list->setObjectName(QStringLiteral("HanjaList"));
    m_list->setAccessibleName(tr("Hanja candidate list"));
    m_list->setAccessibleDescription(tr("Number keys 1 to 9 or Enter choose, Escape closes"));
    // The popup takes the keys itself; the list only shows them.
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->horizontalHeader()->hide();
    m_list->verticalHeader()->hide();
    m_list->setShowGrid(false);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setWordWrap(false);
    m_list->setTextElideMode(Qt::ElideRight);
    connect(m_list, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (m_pageStart + row < count())
            choose(m_pageStart + row);
    });

    m_position->setObjectName(QStringLiteral("HanjaPosition"));
    m_position->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(m_list);
    layout->addWidget(m_position);
}

QString HanjaPopup::familyFor(const QString &preferred, QStringView text)
{
    QList<uint> chars;
    {
        QSet<uint> seen;
        for (uint c : text.toUcs4()) {
            if (!seen.contains(c)) {
                seen.insert(c);
                chars.append(c);
            }
        }
    }
    QFont font(preferred);
    qsizetype best = drawnCount(font, chars);
    QString bestFamily = preferred;
    if (best == chars.size())
        return preferred;
    // Korean faces first, so that the forms are the Korean ones where faces differ.
    QStringList families;
    for (auto system : {QFontDatabase::Korean, QFontDatabase::TraditionalChinese,
                        QFontDatabase::Japanese, QFontDatabase::SimplifiedChinese}) {
        for (const QString &family : QFontDatabase::families(system)) {
            if (!families.contains(family) && !QFontDatabase::isPrivateFamily(family))
                families.append(family);
        }
    }
    for (const QString &family : families) {
        font.setFamily(family);
        const qsizetype drawn = drawnCount(font, chars);
        if (drawn > best) {
            best = drawn;
            bestFamily = family;
            if (drawn == chars.size())
                break;
        }
    }
    return bestFamily;
}

void HanjaPopup::showCandidates(const QList<HanjaCandidate> &candidates, const QRect &caret,
                                const QFont &font)
{
    m_candidates = candidates;
    m_chosen = false;
    m_current = 0;
    m_pageStart = -1;
    m_caret = caret;
    if (font != this->font()) {
        setFont(font);
        m_list->setFont(font);
        m_position->setFont(font);
    }
    m_list->setRowCount(int(std::min<qsizetype>(PageSize, count())));
    m_position->setVisible(count() > PageSize);
    fillPage();
    show();
    setFocus(Qt::PopupFocusReason);
}

void HanjaPopup::layOutPage()
{
    const QList<HanjaCandidate> page = m_candidates.mid(m_pageStart, PageSize);
    QString pageHanja;
    for (const HanjaCandidate &c : page)
        pageHanja += c.hanja;
    // The editor's face when it draws the Hanja; otherwise one that does, so that
    // a word is not drawn in a mix of faces.
    static QString cachedBase, cachedFamily;
    const QString base = QFontInfo(font()).family();
    QString family;
    if (cachedBase == base && !cachedFamily.isEmpty()) {
        QFont cached(font());
        cached.setFamily(cachedFamily);
        const QList<uint> chars = pageHanja.toUcs4();
        if (drawnCount(cached, chars) == chars.size())
            family = cachedFamily;
    }
    if (family.isEmpty()) {
        family = familyFor(base, pageHanja);
        cachedBase = base;
        cachedFamily = family;
    }
    m_hanjaFont = font();
    m_hanjaFont.setFamily(family);

    const QFontMetrics metrics(font());
    const QFontMetrics hanjaMetrics(m_hanjaFont);
    const int pad = metrics.averageCharWidth();
    int hanjaWidth = 0;
    int meaningWidth = 0;
    for (const HanjaCandidate &c : page) {
        hanjaWidth = std::max(hanjaWidth, hanjaMetrics.horizontalAdvance(c.hanja));
        meaningWidth = std::max(meaningWidth, metrics.horizontalAdvance(c.meaning));
    }
    // Long meanings are cut short rather than make the window wide.
    meaningWidth = std::min(meaningWidth, metrics.height() * 12);
    const int widths[ColumnCount] = {metrics.horizontalAdvance(QStringLiteral("9")) + 2 * pad,
                                     hanjaWidth + 2 * pad,
                                     meaningWidth > 0 ? meaningWidth + 3 * pad : 0};
    m_list->horizontalHeader()->setMinimumSectionSize(0);
    for (int column = 0; column < ColumnCount; ++column)
        m_list->setColumnWidth(column, widths[column]);
    const int rowHeight = std::max(metrics.height(), hanjaMetrics.height()) + metrics.height() / 4;
    m_list->verticalHeader()->setMinimumSectionSize(1);
    m_list->verticalHeader()->setDefaultSectionSize(rowHeight);
    const int listWidth = widths[0] + widths[1] + widths[2];
    m_list->setFixedSize(listWidth, m_list->rowCount() * rowHeight);
    adjustSize();
    // The window may be wider than the columns (its least width, the position
    // label): the last column takes the rest, so no empty band is left beside.
    const int inside = contentsRect().marginsRemoved(layout()->contentsMargins()).width();
    if (inside > listWidth) {
        m_list->setColumnWidth(MeaningColumn, widths[MeaningColumn] + inside - listWidth);
        m_list->setFixedWidth(inside);
    }
    place();
}

void HanjaPopup::place()
{
    QScreen *screen = QGuiApplication::screenAt(m_caret.center());
    if (!screen && m_host)
        screen = m_host->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(m_caret.topLeft(), size());
    const QSize popupSize = size().boundedTo(area.size());
    resize(popupSize);
    const int x = std::clamp(m_caret.left(), area.left(), area.right() - popupSize.width() + 1);
    int y = m_caret.bottom() + 1;
    if (y + popupSize.height() > area.bottom() + 1)
        y = m_caret.top() - popupSize.height();
    y = std::clamp(y, area.top(), area.bottom() - popupSize.height() + 1);
    move(x, y);
}

void HanjaPopup::fillPage()
{
    const qsizetype pageStart = m_current / PageSize * PageSize;
    if (pageStart != m_pageStart) {
        m_pageStart = pageStart;
        layOutPage();
        for (int row = 0; row < m_list->rowCount(); ++row) {
            const qsizetype index = pageStart + row;
            const bool used = index < count();
            const QString texts[ColumnCount] = {used ? QString::number(row + 1) : QString(),
                                                used ? m_candidates.at(index).hanja : QString(),
                                                used ? m_candidates.at(index).meaning : QString()};
            for (int column = 0; column < ColumnCount; ++column) {
                auto *item = new QTableWidgetItem(texts[column]);
                item->setFlags(used ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
                if (column == NumberColumn)
                    item->setTextAlignment(Qt::AlignCenter);
                if (column == HanjaColumn)
                    item->setFont(m_hanjaFont);
                m_list->setItem(row, column, item);
            }
        }
    }
    m_list->selectRow(int(m_current - m_pageStart));
    m_position->setText(QStringLiteral("%1/%2").arg(m_current + 1).arg(count()));
}

void HanjaPopup::setCurrent(qsizetype index)
{
    m_current = std::clamp<qsizetype>(index, 0, std::max<qsizetype>(0, count() - 1));
    fillPage();
}

void HanjaPopup::choose(qsizetype index)
{
    m_chosen = true;
    hide();
    emit chosen(index);
}

void HanjaPopup::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool plain =
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && key >= Qt::Key_1 && key <= Qt::Key_9) {
        const qsizetype index = m_pageStart + (key - Qt::Key_1);
        if (index < count())
            choose(index);
        return;
    }
    if (plain) {
        switch (key) {
        case Qt::Key_Up:
            setCurrent(m_current - 1);
            return;
        case Qt::Key_Down:
            setCurrent(m_current + 1);
            return;
        case Qt::Key_PageUp:
            setCurrent(m_current - PageSize);
            return;
        case Qt::Key_PageDown:
            setCurrent(m_current + PageSize);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            choose(m_current);
            return;
        case Qt::Key_Escape:
            hide();
            return;
        default:
            break;
        }
    }
    if (isModifierKey(key))
        return;
    // Any other key closes the list and then does what it does without it.
    hide();
    if (m_host) {
        const std::unique_ptr<QEvent> again(event->clone());
        QCoreApplication::sendEvent(m_host, again.get());
    }
}

void HanjaPopup::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    if (!m_chosen) {
        m_chosen = true; // told once
        emit dismissed();
    }
}
