#include "editor/status_panels.h"

#include "settings/app_state.h"

#include <QLabel>
#include <QStatusBar>

#include <algorithm>

namespace {

// A status-bar panel: its design width when there is room, narrower (its text
// clipped) when the window is.
class StatusPanel : public QLabel
{
public:
    using QLabel::QLabel;
    // A panel of fixed width keeps its size whatever it shows, so a new text
    // (the caret's place after every key) repaints that panel alone instead of
    // laying out the whole status bar again.
    void setDesignWidth(int width)
    {
        m_designWidth = width;
        setFixedSize(width, QLabel::sizeHint().height());
        // Opaque: the status bar and the window behind it are not painted again.
        setAutoFillBackground(true);
    }
    QSize sizeHint() const override
    {
        const QSize hint = QLabel::sizeHint();
        return {m_designWidth > 0 ? m_designWidth : hint.width(), hint.height()};
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int m_designWidth = 0;
};

} // namespace

StatusPanels::StatusPanels(QStatusBar *bar)
{
    // Panel widths 20, 100 and 65, the last panel taking the rest; a panel grows
    // where the platform's status-bar font needs more room for its longest text.
    const int widths[3] = {20, 100, 65};
    const QString widest[3] = {QStringLiteral("R"), caretPositionText(9999, 999),
                               wrapStateText(false)};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new StatusPanel(bar);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        panel->setTextFormat(Qt::PlainText);
        // A panel clips its text rather than hold the window wider: the window
        // may be as narrow as the stored settings allow.
        panel->setSizePolicy(i == 3 ? QSizePolicy::Ignored : QSizePolicy::Preferred,
                             QSizePolicy::Preferred);
        if (i < 3)
            panel->setDesignWidth(
                std::max(widths[i], panel->fontMetrics().horizontalAdvance(widest[i]) + 6));
        bar->addWidget(panel, i == 3 ? 1 : 0);
        m_panels[i] = panel;
    }
}

void StatusPanels::showMode(int mode)
{
    setText(0, modePanelText(mode));
}

void StatusPanels::showCaret(int line, int column)
{
    setText(1, caretPositionText(line, column));
}

void StatusPanels::showWrap(bool on)
{
    setText(2, wrapStateText(on));
}

void StatusPanels::showFileLabel(const QString &text)
{
    setText(3, text);
}

QString StatusPanels::text(int panel) const
{
    return m_panels[panel]->text();
}

void StatusPanels::setText(int panel, const QString &text)
{
    m_panels[panel]->setText(text);
    m_panels[panel]->setAccessibleName(text);
}
