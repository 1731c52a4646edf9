// The main editor widget: a QPlainTextEdit whose own copy, cut, drag and paste
// keep every code unit (the stock ones go through toPlainText(), which turns
// U+00A0 into a space and U+2028 into a line feed).
#pragma once

#include <QPlainTextEdit>

class MemoEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit MemoEdit(QWidget *parent = nullptr);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;
};
