#include "editor/line_edit_control.h"

#include <QLineEdit>

#include <algorithm>

LineEditControl::LineEditControl(QLineEdit *edit) : m_edit(edit)
{
    m_caretMoved = QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit,
                                    [this](int, int) { dropComposition(); });
    m_textChanged =
        QObject::connect(edit, &QLineEdit::textChanged, edit, [this] { dropComposition(); });
}

LineEditControl::~LineEditControl()
{
    QObject::disconnect(m_caretMoved);
    QObject::disconnect(m_textChanged);
}

QString LineEditControl::text() const
{
    return m_edit->text();
}

void LineEditControl::setText(QStringView text)
{
    m_edit->setText(text.toString());
}

qsizetype LineEditControl::length() const
{
    return m_edit->text().size(); // QLineEdit shares its string: no copy
}

char16_t LineEditControl::charAt(qsizetype pos) const
{
    const QString t = m_edit->text();
    if (pos < 0 || pos >= t.size())
        return u'\0';
    return t.at(pos).unicode();
}

qsizetype LineEditControl::selStart() const
{
    return m_edit->hasSelectedText() ? m_edit->selectionStart() : m_edit->cursorPosition();
}

qsizetype LineEditControl::selLength() const
{
    return m_edit->hasSelectedText() ? m_edit->selectionLength() : 0;
}

void LineEditControl::setSelStart(qsizetype pos)
{
    m_edit->deselect();
    m_edit->setCursorPosition(int(std::clamp<qsizetype>(pos, 0, length())));
}

void LineEditControl::setSelLength(qsizetype len)
{
    const qsizetype start = selStart();
    const qsizetype n = std::clamp<qsizetype>(len, 0, length() - start);
    if (n == 0)
        setSelStart(start);
    else
        m_edit->setSelection(int(start), int(n));
}

QString LineEditControl::selText() const
{
    return m_edit->selectedText();
}

void LineEditControl::replaceSelection(QStringView text)
{
    if (m_edit->isReadOnly())
        return;
    m_edit->insert(text.toString()); // replaces the selection, caret behind, undoable
}

void LineEditControl::selectAll()
{
    m_edit->selectAll();
}

void LineEditControl::deselect()
{
    const qsizetype start = selStart();
    m_edit->deselect();
    m_edit->setCursorPosition(int(start));
}

int LineEditControl::caretColumn() const
{
    return m_edit->cursorPosition();
}

bool LineEditControl::isReadOnly() const
{
    return m_edit->isReadOnly();
}

void LineEditControl::setReadOnly(bool on)
{
    m_edit->setReadOnly(on);
}

bool LineEditControl::isVisible() const
{
    return !m_edit->isHidden();
}

void LineEditControl::setVisible(bool on)
{
    m_edit->setVisible(on);
}

bool LineEditControl::isEnabled() const
{
    return m_edit->isEnabled();
}

void LineEditControl::setEnabled(bool on)
{
    m_edit->setEnabled(on);
}

bool LineEditControl::hasFocus() const
{
    return m_edit->hasFocus();
}

void LineEditControl::setFocus()
{
    m_edit->setFocus();
}
