#include "app/editor_document_layout.h"

#include <QFontMetrics>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <climits>
#include <cmath>

EditorDocumentLayout::EditorDocumentLayout(QTextDocument *document)
    : QPlainTextDocumentLayout(document), m_blockCount(document->blockCount())
{
}

qreal EditorDocumentLayout::layoutChangedBlock(const QTextBlock &block)
{
    QTextDocument *doc = document();
    const qreal margin = doc->documentMargin();
    QTextLayout *layout = block.layout();
    const QTextOption option = doc->defaultTextOption();
    layout->setTextOption(option);
    int extraMargin = 0;
    if (option.flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
        extraMargin += QFontMetrics(block.charFormat().font()).horizontalAdvance(QChar(0x21B5));
    // The text width the editor set: the frame is as wide as that or as the widest
    // line, and only an unwrapped document has lines wider than the text width.
    const qreal textWidth = frameBoundingRect(nullptr).width();
    qreal available = textWidth > 0 ? textWidth : qreal(INT_MAX);
    available -= 2 * margin + extraMargin;
    qreal widest = 0;
    qreal height = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(available);
        line.setPosition(QPointF(margin, height));
        height += line.height();
        if (line.leading() < 0)
            height += std::ceil(line.leading());
        widest = std::max(widest, line.naturalTextWidth() + 2 * margin);
    }
    layout->endLayout();
    const_cast<QTextBlock &>(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    return widest;
}

void EditorDocumentLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    QTextDocument *doc = document();
    const QTextBlock block = doc->findBlock(from);
    const bool oneLaidOutBlock =
        doc->blockCount() == m_blockCount && block.isValid() && block.length() > 0 &&
        block.isVisible() && block.layout()->lineCount() > 0 &&
        block == doc->findBlock(std::max(0, from + charsRemoved + charsAdded - 1));
    if (oneLaidOutBlock) {
        const QRectF oldRect = blockBoundingRect(block);
        const int oldLineCount = doc->lineCount();
        const qreal width = layoutChangedBlock(block);
        if (width <= documentSize().width()) {
            if (doc->lineCount() != oldLineCount)
                emit documentSizeChanged(documentSize());
            if (blockBoundingRect(block).height() == oldRect.height())
                emit updateBlock(block);
            else
                emit update(QRectF(0., -doc->documentMargin(), 1000000000., 1000000000.));
            return;
        }
        // A new widest line: the stock code records it (growing never walks).
    }
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    m_blockCount = doc->blockCount();
}
