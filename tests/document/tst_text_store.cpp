// The document store against a plain string under random edits, undo and redo,
// with blocks made tiny so that every seam between them is exercised.
#include "document/text_store.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <array>

#include <string>
#include <vector>

class TestTextStore : public QObject
{
    Q_OBJECT
private slots:
    void randomEditsMatchPlainString_data();
    void randomEditsMatchPlainString();
    void undoMerging_data();
    void undoMerging();
    void undoReturnsCaret();
    void loaderGivesOneNotification_data();
    void loaderGivesOneNotification();
    void largeLoadEditsLikeAnyOther();
    void searchAcrossSeams_data();
    void searchAcrossSeams();
};

namespace {

using U16 = std::u16string;

QString qs(const U16 &s)
{
    return QString(reinterpret_cast<const QChar *>(s.data()), qsizetype(s.size()));
}

U16 u16(QStringView s)
{
    return U16(reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size()));
}

// Every unit the store must keep as it is, line feed and carriage return among them.
const char16_t specialUnits[] = {u'a',   u'b',   u'A',   u'\u00E9', u'\u00C9', u'\n',
                                 u'\n',  u'\r',  0x2028, 0x2029,    0xFDD0,    0xFDD1,
                                 0xFFFC, 0xD800, 0xDC00, 0xD83D,    0xDE00,    u'\0'};

// What the store must read like: the model string, checked through every reader.
void checkAgainst(const TextStore &store, const U16 &model, QRandomGenerator &rng)
{
    const qsizetype n = qsizetype(model.size());
    QCOMPARE(store.length(), n);
    QCOMPARE(u16(store.text()), model);
    U16 pieces;
    store.visitPieces(0, n, [&](QStringView piece) {
        pieces += u16(piece);
        return true;
    });
    QCOMPARE(pieces, model);
    for (qsizetype i = -1; i <= n; ++i)
        QCOMPARE(store.at(i), i >= 0 && i < n ? model[std::size_t(i)] : u'\0');
    const qsizetype from = rng.bounded(int(n) + 1);
    const qsizetype len = rng.bounded(int(n) + 2);
    QCOMPARE(u16(store.mid(from, len)), model.substr(std::size_t(from), std::size_t(len)));

    std::vector<qsizetype> starts{0};
    for (qsizetype i = 0; i < n; ++i)
        if (model[std::size_t(i)] == u'\n')
            starts.push_back(i + 1);
    const qsizetype lines = qsizetype(starts.size());
    QCOMPARE(store.lineCount(), lines);
    for (qsizetype line = 0; line < lines; ++line) {
        const qsizetype end = line + 1 < lines ? starts[std::size_t(line + 1)] - 1 : n;
        QCOMPARE(store.lineStart(line), starts[std::size_t(line)]);
        QCOMPARE(store.lineLength(line), end - starts[std::size_t(line)]);
        QCOMPARE(u16(store.lineText(line)),
                 model.substr(std::size_t(starts[std::size_t(line)]),
                              std::size_t(end - starts[std::size_t(line)])));
        for (qsizetype pos = starts[std::size_t(line)]; pos <= end; ++pos)
            QCOMPARE(store.lineAt(pos), line);
    }
    QCOMPARE(store.lineStart(lines), starts.back());

    // Needles taken from the text itself (so they often cross seams and breaks),
    // and some that are not.
    for (int probe = 0; probe < 4; ++probe) {
        U16 needle;
        if (n > 0 && probe < 3) {
            const qsizetype at = rng.bounded(int(n));
            needle = model.substr(std::size_t(at), std::size_t(1 + rng.bounded(6)));
        } else {
            needle = {u'a', u'\n', u'b'};
        }
        const qsizetype start = rng.bounded(int(n) + 1) - (probe == 0 ? 0 : 1);
        for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
            const qsizetype expected =
                start < 0 ? -1 : QStringView(qs(model)).indexOf(qs(needle), start, cs);
            QCOMPARE(store.indexOf(qs(needle), start, cs), expected);
        }
    }
}

// The line holding `pos` read as the editor reads the caret's line: its number,
// start and length, against the model.
void checkLineAt(const TextStore &store, const U16 &model, qsizetype pos)
{
    pos = std::clamp<qsizetype>(pos, 0, qsizetype(model.size()));
    const qsizetype line = qsizetype(std::count(model.begin(), model.begin() + pos, u'\n'));
    const std::size_t before = pos > 0 ? model.rfind(u'\n', std::size_t(pos - 1)) : U16::npos;
    const qsizetype start = before == U16::npos ? 0 : qsizetype(before) + 1;
    const std::size_t after = model.find(u'\n', std::size_t(pos));
    const qsizetype end = after == U16::npos ? qsizetype(model.size()) : qsizetype(after);
    QCOMPARE(store.lineAt(pos), line);
    QCOMPARE(store.lineStart(line), start);
    QCOMPARE(store.lineLength(line), end - start);
    QCOMPARE(store.lineAt(end), line);
}

// The undo steps a user expects: typing of one unit at a time merges, so does
// Backspace or Delete repeated; a break, a caret move or a group ends the merge.
struct UndoModel
{
    enum Kind { None, Insert, Delete };
    std::vector<U16> undo, redo;
    Kind kind = None;
    qsizetype mergePos = 0; // where the next insert continues, or the last deletion
    int depth = 0;
    bool groupHasStep = false;

    void edit(const U16 &before, qsizetype pos, qsizetype removed, const U16 &added)
    {
        redo.clear();
        if (depth > 0) {
            if (!groupHasStep)
                undo.push_back(before);
            groupHasStep = true;
            kind = None;
            return;
        }
        const bool hasBreak =
            added.find(u'\n') != U16::npos ||
            before.substr(std::size_t(pos), std::size_t(removed)).find(u'\n') != U16::npos;
        Kind now = None;
        if (!hasBreak && removed == 0 && added.size() == 1)
            now = Insert;
        else if (!hasBreak && added.empty() && removed == 1)
            now = Delete;
        bool merged = false;
        if (now == Insert && kind == Insert && pos == mergePos) {
            merged = true;
        } else if (now == Delete && kind == Delete && (pos + 1 == mergePos || pos == mergePos)) {
            merged = true;
        }
        if (!merged)
            undo.push_back(before);
        kind = now;
        mergePos = now == Insert ? pos + 1 : pos;
    }
};

U16 randomUnits(QRandomGenerator &rng, int maxLength)
{
    U16 s;
    const int n = rng.bounded(maxLength + 1);
    for (int i = 0; i < n; ++i)
        s += specialUnits[rng.bounded(int(std::size(specialUnits)))];
    return s;
}

} // namespace

void TestTextStore::randomEditsMatchPlainString_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("blockUnits");
    QTest::addColumn<int>("steps");
    // Every how many steps the whole text is read back; in between only the
    // caret's line is, before and after each edit, so that the line the store
    // remembers lives across edits inside it, before it and after it.
    QTest::addColumn<int>("fullCheckEvery");
    QTest::newRow("blocks of 4") << 1u << 4 << 3000 << 1;
    QTest::newRow("blocks of 7") << 2u << 7 << 3000 << 1;
    QTest::newRow("blocks of 32") << 3u << 32 << 3000 << 1;
    QTest::newRow("blocks of 100") << 5u << 100 << 3000 << 1;
    QTest::newRow("default blocks") << 4u << 0 << 1500 << 1;
    QTest::newRow("caret line across edits, blocks of 7") << 6u << 7 << 6000 << 25;
    QTest::newRow("caret line across edits, default blocks") << 7u << 0 << 6000 << 25;
}

void TestTextStore::randomEditsMatchPlainString()
{
    QFETCH(quint32, seed);
    QFETCH(int, blockUnits);
    QFETCH(int, steps);
    QFETCH(int, fullCheckEvery);
    QRandomGenerator rng(seed);
    TextStore store;
    store.setBlockUnits(blockUnits);
    U16 model, mirror;
    qsizetype followed = 0; // a position carried through the edits
    QObject::connect(&store, &TextStore::changed, &store,
                     [&](qsizetype pos, qsizetype removed, qsizetype added) {
                         mirror.replace(std::size_t(pos), std::size_t(removed),
                                        u16(store.mid(pos, added)));
                         if (followed >= pos + removed)
                             followed += added - removed;
                         else if (followed > pos)
                             followed = pos;
                     });
    UndoModel history;
    qsizetype caret = 0;
    for (int step = 0; step < steps; ++step) {
        const qsizetype n = qsizetype(model.size());
        const int op = rng.bounded(100);
        if (fullCheckEvery > 1) {
            checkLineAt(store, model, caret);
            // The start of the line just read, followed through the edit: its
            // lookup afterwards meets the remembered line, moved or not.
            followed = store.lineStart(store.lineAt(caret));
        }
        if (op < 35) { // typing at the caret, mostly continuing
            if (rng.bounded(4) == 0)
                caret = rng.bounded(int(n) + 1);
            const U16 unit(1, specialUnits[rng.bounded(int(std::size(specialUnits)))]);
            history.edit(model, caret, 0, unit);
            model.insert(std::size_t(caret), unit);
            store.replace(caret, 0, qs(unit));
            ++caret;
        } else if (op < 45 && n > 0) { // Backspace or Delete
            const bool back = rng.bounded(2) == 0;
            if (rng.bounded(4) == 0)
                caret = rng.bounded(int(n) + 1);
            const qsizetype pos = back ? caret - 1 : caret;
            if (pos < 0 || pos >= n)
                continue;
            history.edit(model, pos, 1, {});
            model.erase(std::size_t(pos), 1);
            store.replace(pos, 1, {});
            caret = pos;
        } else if (op < 70) { // any replacement, sometimes a large one
            const qsizetype pos = rng.bounded(int(n) + 1);
            const qsizetype removed =
                std::min<qsizetype>(n - pos, rng.bounded(rng.bounded(8) == 0 ? 60 : 4));
            const U16 added = randomUnits(rng, rng.bounded(8) == 0 ? 80 : 5);
            if (removed > 0 || !added.empty())
                history.edit(model, pos, removed, added);
            model.replace(std::size_t(pos), std::size_t(removed), added);
            store.replace(pos, removed, qs(added));
            caret = pos + qsizetype(added.size());
        } else if (op < 80) { // undo
            const qsizetype back = store.undo();
            QCOMPARE(back >= 0, !history.undo.empty());
            if (back >= 0) {
                history.redo.push_back(model);
                model = history.undo.back();
                history.undo.pop_back();
                caret = back;
                history.kind = UndoModel::None;
            }
        } else if (op < 86) { // redo
            const qsizetype forward = store.redo();
            QCOMPARE(forward >= 0, !history.redo.empty());
            if (forward >= 0) {
                history.undo.push_back(model);
                model = history.redo.back();
                history.redo.pop_back();
                caret = forward;
                history.kind = UndoModel::None;
            }
        } else if (op < 92) { // a group of edits: one step
            UndoGroup group(store);
            ++history.depth;
            history.groupHasStep = false;
            for (int i = rng.bounded(4); i > 0; --i) {
                const qsizetype pos = rng.bounded(int(model.size()) + 1);
                const qsizetype removed =
                    std::min<qsizetype>(qsizetype(model.size()) - pos, rng.bounded(3));
                const U16 added = randomUnits(rng, 3);
                if (removed > 0 || !added.empty())
                    history.edit(model, pos, removed, added);
                model.replace(std::size_t(pos), std::size_t(removed), added);
                store.replace(pos, removed, qs(added));
            }
            --history.depth;
            history.kind = UndoModel::None;
        } else if (op < 97) { // a caret move
            store.breakUndoMerge();
            history.kind = UndoModel::None;
            caret = rng.bounded(int(n) + 1);
        } else if (model.size() > 300 || op == 99) { // start afresh
            model = randomUnits(rng, 60);
            store.setText(qs(model));
            history = UndoModel();
            caret = 0;
        }
        caret = std::min<qsizetype>(caret, qsizetype(model.size()));
        QCOMPARE(store.isUndoAvailable(), !history.undo.empty());
        QCOMPARE(store.isRedoAvailable(), !history.redo.empty());
        if (fullCheckEvery > 1) {
            checkLineAt(store, model, followed);
            checkLineAt(store, model, caret);
            checkLineAt(store, model, rng.bounded(int(model.size()) + 1));
            checkLineAt(store, model, caret);
        }
        if (step % fullCheckEvery == 0)
            checkAgainst(store, model, rng);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QString(u"step %1, operation %2"_qs).arg(step).arg(op)));
        QCOMPARE(mirror, model);
    }
    // Back through every step to the last fresh start, and forward again.
    const U16 last = model;
    while (store.undo() >= 0) {
        model = history.undo.back();
        history.undo.pop_back();
        QCOMPARE(u16(store.text()), model);
    }
    QVERIFY(history.undo.empty());
    while (store.redo() >= 0) {
    }
    QCOMPARE(u16(store.text()), last);
    QCOMPARE(mirror, last);
}

void TestTextStore::undoMerging_data()
{
    // Each edit: "+x@p" inserts x at p, "=x@p" replaces the unit at p with x,
    // "-p" removes the unit at p, "|" breaks the merge, "(" and ")" open and close
    // a group, "w" and "W" start and stop typing a word. `undone` lists the texts
    // that successive undos give.
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QStringList>("undone");
    QTest::newRow("typing merges")
        << QStringList{u"+a@0"_qs, u"+b@1"_qs, u"+c@2"_qs} << QStringList{QString()};
    QTest::newRow("line break ends typing")
        << QStringList{u"+a@0"_qs, u"+\n@1"_qs, u"+b@2"_qs, u"+c@3"_qs}
        << QStringList{u"a\n"_qs, u"a"_qs, QString()};
    QTest::newRow("caret move ends typing")
        << QStringList{u"+a@0"_qs, u"+b@1"_qs, u"|"_qs, u"+c@2"_qs}
        << QStringList{u"ab"_qs, QString()};
    QTest::newRow("typing elsewhere")
        << QStringList{u"+a@0"_qs, u"+b@0"_qs} << QStringList{u"a"_qs, QString()};
    QTest::newRow("backspaces merge")
        << QStringList{u"+a@0"_qs, u"+b@1"_qs, u"+c@2"_qs, u"|"_qs, u"-2"_qs, u"-1"_qs}
        << QStringList{u"abc"_qs, QString()};
    QTest::newRow("deletes merge")
        << QStringList{u"+a@0"_qs, u"+b@1"_qs, u"+c@2"_qs, u"|"_qs, u"-0"_qs, u"-0"_qs}
        << QStringList{u"abc"_qs, QString()};
    QTest::newRow("group is one step")
        << QStringList{u"+a@0"_qs, u"("_qs,    u"+b@1"_qs, u"("_qs,   u"-0"_qs,
                       u")"_qs,    u"+c@1"_qs, u")"_qs,    u"+d@2"_qs}
        << QStringList{u"bc"_qs, u"a"_qs, QString()};
    QTest::newRow("keys of a word are one step")
        << QStringList{u"+x@0"_qs,  u"|"_qs,     u"w"_qs, u"+ㄱ@1"_qs, u"W"_qs,
                       u"w"_qs,     u"=가@1"_qs, u"W"_qs, u"w"_qs,     u"=간@1"_qs,
                       u"+ㄱ@2"_qs, u"W"_qs,     u"w"_qs, u"=가@2"_qs, u"W"_qs}
        << QStringList{u"x"_qs, QString()};
    QTest::newRow("caret move ends the word")
        << QStringList{u"w"_qs, u"+ㄱ@0"_qs, u"=가@0"_qs, u"|"_qs, u"+ㄴ@1"_qs, u"W"_qs}
        << QStringList{u"가"_qs, QString()};
    QTest::newRow("typed space ends the word")
        << QStringList{u"w"_qs, u"+ㄱ@0"_qs, u"W"_qs, u"+ @1"_qs, u"w"_qs, u"+ㄴ@2"_qs, u"W"_qs}
        << QStringList{u"ㄱ "_qs, u"ㄱ"_qs, QString()};
}

void TestTextStore::undoMerging()
{
    QFETCH(QStringList, edits);
    QFETCH(QStringList, undone);
    TextStore store;
    for (const QString &e : edits) {
        if (e == u"|")
            store.breakUndoMerge();
        else if (e == u"(")
            store.beginUndoGroup();
        else if (e == u")")
            store.endUndoGroup();
        else if (e == u"w" || e == u"W")
            store.setTypingWord(e == u"w");
        else if (e.startsWith(u'='))
            store.replace(e.mid(3).toInt(), 1, e.mid(1, 1));
        else if (e.startsWith(u'+'))
            store.replace(e.mid(3).toInt(), 0, e.mid(1, 1));
        else
            store.replace(e.mid(1).toInt(), 1, {});
    }
    for (const QString &expected : undone) {
        QVERIFY(store.undo() >= 0);
        QCOMPARE(store.text(), expected);
    }
    QVERIFY(!store.isUndoAvailable());
    QCOMPARE(store.undo(), qsizetype(-1));
}

void TestTextStore::undoReturnsCaret()
{
    TextStore store;
    store.setText(u"hello world"_qs);
    store.replace(6, 5, u"there"_qs);
    QCOMPARE(store.undo(), qsizetype(11)); // after the "world" put back
    QCOMPARE(store.redo(), qsizetype(11));
    store.replace(0, 6, {});
    QCOMPARE(store.undo(), qsizetype(6));
    QCOMPARE(store.redo(), qsizetype(0));
}

void TestTextStore::loaderGivesOneNotification_data()
{
    QTest::addColumn<int>("blockUnits");
    QTest::addColumn<QString>("before");
    QTest::newRow("into an empty store") << 0 << QString();
    QTest::newRow("over old text, tiny blocks") << 5 << u"old\ntext"_qs;
    QTest::newRow("over old text") << 0 << u"old"_qs;
}

void TestTextStore::loaderGivesOneNotification()
{
    QFETCH(int, blockUnits);
    QFETCH(QString, before);
    TextStore store;
    store.setBlockUnits(blockUnits);
    store.setText(before);
    store.replace(0, 0, u"x"_qs);
    QRandomGenerator rng(11);
    U16 expected;
    std::vector<std::array<qsizetype, 3>> notes;
    QObject::connect(&store, &TextStore::changed, &store,
                     [&](qsizetype pos, qsizetype removed, qsizetype added) {
                         notes.push_back({pos, removed, added});
                     });
    {
        TextStore::Loader loader(store);
        for (int piece = 0; piece < 200; ++piece) {
            const U16 units = randomUnits(rng, piece % 50 == 0 ? 300 : 12);
            expected += units;
            if (piece % 2 == 0) {
                loader.append(qs(units));
            } else { // room for more than is written, as a decoder asks
                char16_t *room = loader.room(qsizetype(units.size()) + 7);
                std::copy(units.begin(), units.end(), room);
                loader.commit(qsizetype(units.size()));
            }
        }
        QVERIFY(notes.empty());
    } // ends the loading
    QCOMPARE(notes.size(), std::size_t(1));
    QCOMPARE(notes[0],
             (std::array<qsizetype, 3>{0, before.size() + 1, qsizetype(expected.size())}));
    QVERIFY(!store.isUndoAvailable());
    checkAgainst(store, expected, rng);
    store.replace(3, 2, u"\n\n"_qs);
    expected.replace(3, 2, u"\n\n");
    checkAgainst(store, expected, rng);
}

// A load large enough to go into the loader's big mappings: edits that grow a
// loaded block move it out, others change it in place, and a new text or a new
// load lets the old blocks go.
void TestTextStore::largeLoadEditsLikeAnyOther()
{
    TextStore store;
    U16 model;
    for (int round = 0; round < 2; ++round) {
        model.clear();
        {
            TextStore::Loader loader(store);
            for (int i = 0; model.size() < 3'000'000; ++i) {
                const U16 line = U16(std::size_t(i % 97), char16_t(u'a' + i % 26)) + u'\n';
                model += line;
                qsizetype available = 0;
                char16_t *room = loader.room(qsizetype(line.size()), available);
                QVERIFY(available >= qsizetype(line.size()));
                std::copy(line.begin(), line.end(), room);
                loader.commit(qsizetype(line.size()));
            }
        }
        QCOMPARE(u16(store.text()), model);
        QRandomGenerator rng(round);
        for (int edit = 0; edit < 300; ++edit) {
            const qsizetype pos = rng.bounded(int(model.size()));
            const qsizetype removed = std::min<qsizetype>(qsizetype(model.size()) - pos,
                                                          rng.bounded(edit % 10 == 0 ? 40000 : 3));
            const U16 added = randomUnits(rng, edit % 3 == 0 ? 0 : 40);
            model.replace(std::size_t(pos), std::size_t(removed), added);
            store.replace(pos, removed, qs(added));
            checkLineAt(store, model, pos);
        }
        QCOMPARE(u16(store.text()), model);
    }
    store.setText(u"short"_qs);
    QCOMPARE(store.text(), u"short"_qs);
}

void TestTextStore::searchAcrossSeams_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<qsizetype>("from");
    QTest::addColumn<int>("cs");
    QTest::addColumn<qsizetype>("expected");
    QTest::newRow("spans three blocks") << u"xxxabcdefgh"_qs << u"cdefg"_qs << qsizetype(0)
                                        << int(Qt::CaseSensitive) << qsizetype(5);
    QTest::newRow("line break in needle") << u"one\ntwo\nthree"_qs << u"o\nth"_qs << qsizetype(0)
                                          << int(Qt::CaseSensitive) << qsizetype(6);
    QTest::newRow("from inside a match")
        << u"abcabc"_qs << u"abc"_qs << qsizetype(1) << int(Qt::CaseSensitive) << qsizetype(3);
    QTest::newRow("caseless over a seam") << u"xxxxABCD"_qs << u"xabcd"_qs << qsizetype(0)
                                          << int(Qt::CaseInsensitive) << qsizetype(3);
    QTest::newRow("empty needle") << u"abc"_qs << QString() << qsizetype(2)
                                  << int(Qt::CaseSensitive) << qsizetype(2);
    QTest::newRow("from past the end")
        << u"abc"_qs << u"c"_qs << qsizetype(4) << int(Qt::CaseSensitive) << qsizetype(-1);
    QTest::newRow("pair split by a seam") << u"ab\xD83D\xDE00"_qs << u"\xD83D\xDE00"_qs
                                          << qsizetype(0) << int(Qt::CaseSensitive) << qsizetype(2);
}

void TestTextStore::searchAcrossSeams()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(qsizetype, from);
    QFETCH(int, cs);
    QFETCH(qsizetype, expected);
    TextStore store;
    store.setBlockUnits(3);
    for (qsizetype i = 0; i < text.size(); ++i) // block by block
        store.replace(i, 0, text.sliced(i, 1));
    QCOMPARE(store.indexOf(needle, from, Qt::CaseSensitivity(cs)), expected);
}

QTEST_GUILESS_MAIN(TestTextStore)
#include "tst_text_store.moc"
