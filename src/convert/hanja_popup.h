// The Hanja candidate window: a small popup at the caret listing nine candidates a
// page, each with its number, Hanja and meaning. It never blocks: it shows, and
// then says what was chosen (or that it closed without a choice).
#pragma once

#include "convert/hanja_lookup.h"

#include <QFrame>
#include <QPointer>

class QLabel;
class QTableWidget;

class HanjaPopup : public QFrame
{
    Q_OBJECT
public:
    static constexpr int PageSize = 9;

    // `host` is the edit control: a key that is not the popup's own goes back to it.
    explicit HanjaPopup(QWidget *host);

    // Lists the candidates in `font` (their Hanja in a face that has them) under
    // `caret` (global coordinates; above it when there is no room below), within
    // the screen's available area, with the first candidate current. Only the
    // page shown is measured, so the time taken does not grow with the candidates.
    void showCandidates(const QList<HanjaCandidate> &candidates, const QRect &caret,
                        const QFont &font);

    qsizetype currentIndex() const { return m_current; }
    qsizetype count() const { return m_candidates.size(); }
    QTableWidget *list() const { return m_list; }

    // A family of the font database that draws every character of `text`,
    // `preferred` when it does; the one that draws the most when none draws all.
    static QString familyFor(const QString &preferred, QStringView text);

signals:
    void chosen(qsizetype index);
    // Closed without a choice: Escape, a click elsewhere, or another key.
    void dismissed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setCurrent(qsizetype index);
    // Shows the page of the current row; a new page is measured and placed anew.
    void fillPage();
    void layOutPage();
    void place();
    void choose(qsizetype index);

    QPointer<QWidget> m_host;
    QTableWidget *m_list;
    QLabel *m_position;
    QList<HanjaCandidate> m_candidates;
    qsizetype m_current = 0;
    qsizetype m_pageStart = -1;
    bool m_chosen = false;
    QRect m_caret;
    QFont m_hanjaFont;
};
