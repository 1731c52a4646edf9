// The editor's document layout: QPlainTextDocumentLayout without its walk over
// every block of the document when one edited line gets narrower.
#pragma once

#include <QPlainTextDocumentLayout>

// The stock layout keeps the number of its widest block; when an edit makes that
// block narrower (or, with wrapping, edits a block that is its stale record), it
// measures every block of the document again, which costs milliseconds per key in
// a document of some hundred thousand lines. This layout lays out a block changed
// by an edit itself and leaves the widest width as it was when the block did not
// grow past it: the horizontal scroll range then keeps the old maximum until the
// next full relayout (resize, font or wrap change, new text), which is harmless,
// while a block that grows past the maximum still goes through the stock code.
class EditorDocumentLayout : public QPlainTextDocumentLayout
{
    Q_OBJECT
public:
    explicit EditorDocumentLayout(QTextDocument *document);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    // Lays out `block` as the stock layout does; returns its widest line plus margins.
    qreal layoutChangedBlock(const QTextBlock &block);

    int m_blockCount = 1; // the block count the stock layout last saw
};
