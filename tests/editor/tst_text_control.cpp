// The three TextControl implementations agree, and text keeps every code unit
// on its way into and out of the editor widget.
#include "document/memory_text_control.h"
#include "editor/line_edit_control.h"
#include "editor/memo_control.h"
#include "editor/memo_view.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTest>

#include <memory>

class TestTextControl : public QObject
{
    Q_OBJECT
private slots:
    void selectionOperations_data();
    void selectionOperations();
    void codeUnitsSurviveTheEditor_data();
    void codeUnitsSurviveTheEditor();
    void randomTextSurvives();
    void replaceSelectionKeepsSpecialUnits();
    void charAtAndLengthAreExact();
    void caretLineAndColumn();
    void copyAndPasteKeepCodeUnits();
    void readOnlyRefusesReplace();
    void lineEditSelection();
};

namespace {

struct Controls
{
    MemoryTextControl memory;
    Document document;
    MemoView edit{document};
    MemoControl plain{&edit};
    QList<TextControl *> all() { return {&memory, &plain}; }
};

QString units(const QString &s)
{
    QStringList out;
    for (QChar c : s)
        out << QString::number(c.unicode(), 16);
    return out.join(u' ');
}

} // namespace

void TestTextControl::selectionOperations_data()
{
    QTest::addColumn<int>("which");
    QTest::newRow("memory") << 0;
    QTest::newRow("editor") << 1;
}

void TestTextControl::selectionOperations()
{
    QFETCH(int, which);
    Controls c;
    TextControl &t = *c.all()[which];
    t.setText(u"abc\ndef");
    QCOMPARE(t.length(), 7);
    QCOMPARE(t.selStart(), 0);
    t.setSelStart(2);
    t.setSelLength(3);
    QCOMPARE(t.selText(), QStringLiteral("c\nd"));
    QCOMPARE(t.selLength(), 3);
    t.replaceSelection(u"XY");
    QCOMPARE(t.text(), QStringLiteral("abXYef"));
    QCOMPARE(t.selStart(), 4);
    QCOMPARE(t.selLength(), 0);
    t.setSelStart(100); // clamped
    QCOMPARE(t.selStart(), 6);
    t.setSelStart(1);
    t.setSelLength(100);
    QCOMPARE(t.selLength(), 5);
    t.deselect();
    QCOMPARE(t.selStart(), 1);
    QCOMPARE(t.selLength(), 0);
    t.selectAll();
    QCOMPARE(t.selLength(), 6);
    t.replaceSelection(u"");
    QCOMPARE(t.text(), QString());
    QCOMPARE(t.charAt(0), u'\0');
}

void TestTextControl::codeUnitsSurviveTheEditor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto s = [](const char16_t *u) { return QString::fromUtf16(u); };
    QTest::newRow("nbsp") << s(u"a\u00A0b") << s(u"a\u00A0b");
    QTest::newRow("line separator") << s(u"a\u2028b") << s(u"a\u2028b");
    QTest::newRow("frame markers") << s(u"\uFDD0a\uFDD1b\uFDD0") << s(u"\uFDD0a\uFDD1b\uFDD0");
    QTest::newRow("carriage return") << s(u"a\rb\r") << s(u"a\rb\r");
    QTest::newRow("paragraph separator") << s(u"a\u2029b") << s(u"a\u2029b");
    QTest::newRow("bom, nul, lone surrogates")
        << QString::fromUtf16(u"\uFEFFx\0y", 4) + QChar(0xD800) + u'z' + QChar(0xDC00)
        << QString::fromUtf16(u"\uFEFFx\0y", 4) + QChar(0xD800) + u'z' + QChar(0xDC00);
    QTest::newRow("pairs and hangul")
        << s(u"\U0001F600\uD55C\uAE00\n\n") << s(u"\U0001F600\uD55C\uAE00\n\n");
    QTest::newRow("empty") << QString() << QString();
}

void TestTextControl::codeUnitsSurviveTheEditor()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    Document document;
    MemoView edit{document};
    MemoControl t(&edit);
    t.setText(text);
    QCOMPARE(units(t.text()), units(expected));
    QCOMPARE(t.length(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(t.charAt(i), expected.at(i).unicode());
    t.selectAll();
    QCOMPARE(units(t.selText()), units(expected));
    // Inserted through the selection, the same holds.
    t.setText(u"[]");
    t.setSelStart(1);
    t.replaceSelection(text);
    QCOMPARE(units(t.text()), units(u'[' + expected + u']'));
    QCOMPARE(t.selStart(), 1 + expected.size());
}

void TestTextControl::randomTextSurvives()
{
    QRandomGenerator rng(20261207);
    const char16_t pool[] = {u'a',   u'\n',  0x00A0, 0x2028, 0xFDD0, 0xFDD1, u'\r',  0xD7A3,
                             0xD83D, 0xDE00, 0x0000, 0x001A, 0xFEFF, 0xFFFF, 0x3131, u' '};
    for (int round = 0; round < 200; ++round) {
        QString text;
        const int n = int(rng.bounded(40));
        for (int i = 0; i < n; ++i)
            text += QChar(pool[rng.bounded(int(std::size(pool)))]);
        Document document;
        MemoView edit{document};
        MemoControl t(&edit);
        t.setText(text);
        QCOMPARE(units(t.text()), units(text));
        // A random replacement in the middle keeps the rest intact.
        const qsizetype at = rng.bounded(int(text.size()) + 1);
        const qsizetype len = rng.bounded(int(text.size() - at) + 1);
        t.setSelStart(at);
        t.setSelLength(len);
        t.replaceSelection(u"\uFDD0\r\u00A0");
        QString expected = text;
        expected.replace(at, len, QString::fromUtf16(u"\uFDD0\r\u00A0"));
        QCOMPARE(units(t.text()), units(expected));
    }
}

void TestTextControl::replaceSelectionKeepsSpecialUnits()
{
    Document document;
    MemoView edit{document};
    MemoControl t(&edit);
    t.setText(u"ab");
    t.setSelStart(1);
    t.replaceSelection(u"\uFDD0");
    QCOMPARE(t.charAt(1), char16_t(0xFDD0));
    QCOMPARE(t.selStart(), 2);
    // Undo takes the raw insertion back.
    edit.undo();
    QCOMPARE(t.text(), QStringLiteral("ab"));
}

void TestTextControl::charAtAndLengthAreExact()
{
    Controls c;
    for (TextControl *t : c.all()) {
        t->setText(u"x\ny");
        QCOMPARE(t->charAt(1), u'\n');
        QCOMPARE(t->charAt(-1), u'\0');
        QCOMPARE(t->charAt(3), u'\0');
        QCOMPARE(t->charBefore(0), u'\0');
        QCOMPARE(t->charBefore(3), u'y');
    }
}

void TestTextControl::caretLineAndColumn()
{
    Controls c;
    for (TextControl *t : c.all()) {
        t->setText(u"ab\ncde\n");
        t->setSelStart(0);
        QCOMPARE(t->caretLine(), 0);
        QCOMPARE(t->caretColumn(), 0);
        t->setSelStart(5);
        QCOMPARE(t->caretLine(), 1);
        QCOMPARE(t->caretColumn(), 2);
        t->setSelStart(7);
        QCOMPARE(t->caretLine(), 2);
        QCOMPARE(t->caretColumn(), 0);
    }
}

void TestTextControl::copyAndPasteKeepCodeUnits()
{
    Document document;
    MemoView edit{document};
    MemoControl t(&edit);
    const QString text = QString::fromUtf16(u"a\u00A0\u2028\uFDD0b\nc");
    t.setText(text);
    edit.selectAll();
    edit.copy();
    QCOMPARE(units(QApplication::clipboard()->text()), units(text));
    t.setText(u"");
    edit.paste();
    QCOMPARE(units(t.text()), units(text));
}

void TestTextControl::readOnlyRefusesReplace()
{
    Controls c;
    for (TextControl *t : c.all()) {
        t->setText(u"abc");
        t->setReadOnly(true);
        t->setSelStart(1);
        t->replaceSelection(u"X");
        QCOMPARE(t->text(), QStringLiteral("abc"));
        t->setReadOnly(false);
    }
}

void TestTextControl::lineEditSelection()
{
    QLineEdit line;
    line.setMaxLength(INT_MAX);
    LineEditControl t(&line);
    MemoryTextControl m(true);
    for (TextControl *c : QList<TextControl *>{&t, &m}) {
        c->setText(u"hello");
        c->setSelStart(1);
        c->setSelLength(3);
        QCOMPARE(c->selText(), QStringLiteral("ell"));
        c->replaceSelection(u"\uD55C");
        QCOMPARE(c->text(), QString::fromUtf16(u"h\uD55Co"));
        QCOMPARE(c->selStart(), 2);
        QCOMPARE(c->selLength(), 0);
        QCOMPARE(c->charAt(1), char16_t(0xD55C));
        QCOMPARE(c->caretColumn(), 2);
        QVERIFY(c->isSingleLine());
    }
}

QTEST_MAIN(TestTextControl)
#include "tst_text_control.moc"
