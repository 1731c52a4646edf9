// Thelpform: the read-only window summarising the romanized key map.
#pragma once

#include <QWidget>

class QPlainTextEdit;

// The help text: 25 lines separated by line feeds, no line feed at the end.
QString romanizedKeymapHelpText();

class Thelpform : public QWidget
{
    Q_OBJECT
public:
    // Takes the main editor's font as it is now; later font changes are not followed.
    explicit Thelpform(QWidget *owner, const QFont &editorFont);
    ~Thelpform() override;

    QPlainTextEdit *Memo1 = nullptr;

    void setVisible(bool visible) override;

private:
    bool m_placed = false;
};
