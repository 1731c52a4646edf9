// The forward search in place over the editor's store, compared with a plain
// search of the text the editor hands out.
#include "document/text_store.h"
#include "editor/memo_control.h"
#include "editor/memo_view.h"
#include "find/document_search.h"

#include <QRandomGenerator>
#include <QTest>

class TestSearch : public QObject
{
    Q_OBJECT
private slots:
    void editedDocumentMatchesPlainSearch();
    void storeSearch_data();
    void storeSearch();

private:
    static void documentRows();
};

void TestSearch::documentRows()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("from");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<qsizetype>("expected");
    QTest::newRow("at the start") << u"abc"_qs << qsizetype(0) << u"ab"_qs << qsizetype(0);
    QTest::newRow("from the caret") << u"ab ab"_qs << qsizetype(1) << u"ab"_qs << qsizetype(2);
    QTest::newRow("before the caret only")
        << u"ab cd"_qs << qsizetype(2) << u"ab"_qs << qsizetype(-1);
    QTest::newRow("on a later line")
        << u"one\ntwo\nthree"_qs << qsizetype(0) << u"thr"_qs << qsizetype(8);
    QTest::newRow("line feed matches a break")
        << u"one\ntwo"_qs << qsizetype(0) << u"e\nt"_qs << qsizetype(2);
    QTest::newRow("separator never matches")
        << u"one\ntwo"_qs << qsizetype(0) << u"e\u2029t"_qs << qsizetype(-1);
    QTest::newRow("closing separator is no text")
        << u"abc"_qs << qsizetype(0) << u"c\n"_qs << qsizetype(-1);
    QTest::newRow("empty document") << QString() << qsizetype(0) << u"a"_qs << qsizetype(-1);
    QTest::newRow("caret at the end") << u"abc"_qs << qsizetype(3) << u"c"_qs << qsizetype(-1);
    QTest::newRow("kept control units")
        << u"a\rb\uFDD0c"_qs << qsizetype(0) << u"\rb\uFDD0"_qs << qsizetype(1);
}

// After edits the piece table's runs no longer lie in text order; the in-place
// search must still agree with a search of the text itself.
void TestSearch::editedDocumentMatchesPlainSearch()
{
    QRandomGenerator rng(6);
    const QString alphabet = u"ab\n\u00E9\uD55C"_qs;
    const auto randomText = [&](int maxLength) {
        QString s;
        const int n = rng.bounded(maxLength + 1);
        for (int i = 0; i < n; ++i)
            s.append(alphabet.at(rng.bounded(alphabet.size())));
        return s;
    };
    for (int round = 0; round < 150; ++round) {
        Document document;
        MemoView edit{document};
        MemoControl control(&edit);
        control.setText(randomText(60));
        for (int step = 0; step < 30; ++step) {
            const qsizetype length = control.length();
            control.setSelStart(rng.bounded(int(length) + 1));
            control.setSelLength(rng.bounded(4));
            if (rng.bounded(3) == 0)
                edit.undo();
            else
                control.replaceSelection(randomText(5));
        }
        const QString text = control.text();
        for (int probe = 0; probe < 30; ++probe) {
            const QString needle = randomText(4);
            if (needle.isEmpty())
                continue;
            const qsizetype from = rng.bounded(int(text.size()) + 1);
            const qsizetype expected = QStringView(text).sliced(from).indexOf(needle);
            QCOMPARE(findInStore(edit.store(), from, needle), expected);
        }
    }
}

void TestSearch::storeSearch_data()
{
    documentRows();
    QTest::newRow("separator is a character")
        << u"a\u2029b"_qs << qsizetype(0) << u"\u2029b"_qs << qsizetype(1);
    QTest::newRow("negative start") << u"abc"_qs << qsizetype(-1) << u"a"_qs << qsizetype(-1);
    QTest::newRow("empty needle") << u"abc"_qs << qsizetype(1) << QString() << qsizetype(0);
}

// The same rows over the store, typed in one unit at a time with tiny blocks, so
// that matches straddle the seams between blocks.
void TestSearch::storeSearch()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, from);
    QFETCH(QString, needle);
    QFETCH(qsizetype, expected);
    TextStore store;
    store.setBlockUnits(2);
    for (qsizetype i = 0; i < text.size(); ++i)
        store.replace(i, 0, text.sliced(i, 1));
    QCOMPARE(findInStore(store, from, needle), expected);
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
