// The composer on the in-memory control: key tables of both schemes, the decide
// flag, Backspace with selfDelete, selections, and a random-key property test.
#include "composer_cases.h"
#include "document/memory_text_control.h"
#include "ime/composer.h"
#include "ime/hangul.h"
#include "ime/ime_mode.h"
#include "key_typing.h"
#include "settings/app_state.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(const KeyCase *)

namespace {

void addCases(const KeyCase *begin, const KeyCase *end, bool skipLineBreaks)
{
    for (const KeyCase *c = begin; c != end; ++c) {
        const QString before = QString::fromUtf16(c->before);
        if (skipLineBreaks && (before.contains(u'\n') || QByteArray(c->keys).contains('\r')))
            continue;
        QTest::newRow(
            QByteArray(c->mode == ImeDirect ? "direct: " : "roman: ").append(c->name).constData())
            << c;
    }
}

void addAllCases(bool skipLineBreaks)
{
    QTest::addColumn<const KeyCase *>("keyCase");
    addCases(std::begin(DirectCases), std::end(DirectCases), skipLineBreaks);
    addCases(std::begin(RomanizedCases), std::end(RomanizedCases), skipLineBreaks);
}

void addDirectCases()
{
    QTest::addColumn<const KeyCase *>("keyCase");
    addCases(std::begin(DirectCases), std::end(DirectCases), false);
}

QString typedIn(TextControl &control, const KeyCase &c, bool selfDelete = false)
{
    control.setText(QString::fromUtf16(c.before));
    control.setSelStart(control.length());
    ComposerState state;
    typeKeys(control, state, c.mode, c.keys, selfDelete);
    return control.text();
}

} // namespace

class TestComposer : public QObject
{
    Q_OBJECT
private slots:
    void multiLine_data() { addAllCases(false); }
    void multiLine();
    void singleLine_data() { addAllCases(true); }
    void singleLine();
    void directSelfDelete_data() { addDirectCases(); }
    void directSelfDelete();
    void caretLeftAfterComposedCharacter_data() { addAllCases(false); }
    void caretLeftAfterComposedCharacter();

    void decideTakesTwoPresses_data();
    void decideTakesTwoPresses();
    void decideFlagsAreSeparate();
    void emptyTextResetsDecide_data();
    void emptyTextResetsDecide();
    void returnedKeys_data();
    void returnedKeys();
    void backspaceFlags_data();
    void backspaceFlags();
    void selectionNeverReplaced_data();
    void selectionNeverReplaced();
    void caretInsideText_data();
    void caretInsideText();
    void randomKeysStayLocalAndValid_data();
    void randomKeysStayLocalAndValid();

    void modeCommandAnnouncesEveryChoice();
};

void TestComposer::multiLine()
{
    QFETCH(const KeyCase *, keyCase);
    MemoryTextControl control;
    QCOMPARE(typedIn(control, *keyCase), QString::fromUtf16(keyCase->expected));
}

void TestComposer::singleLine()
{
    QFETCH(const KeyCase *, keyCase);
    MemoryTextControl control(true);
    QCOMPARE(typedIn(control, *keyCase), QString::fromUtf16(keyCase->expected));
}

// The screen keyboard passes no key on: Backspace must never be handed back.
void TestComposer::directSelfDelete()
{
    QFETCH(const KeyCase *, keyCase);
    MemoryTextControl control;
    control.setText(QString::fromUtf16(keyCase->before));
    control.setSelStart(control.length());
    ComposerState state;
    for (const char *k = keyCase->keys; *k; ++k) {
        const int result = ComposeDirectKey(static_cast<unsigned char>(*k), control, state, true);
        if (*k == '\b')
            QCOMPARE(result, 0);
        else if (result != 0)
            controlTypes(control, result);
    }
    QCOMPARE(control.text(), QString::fromUtf16(keyCase->expected));
}

void TestComposer::caretLeftAfterComposedCharacter()
{
    QFETCH(const KeyCase *, keyCase);
    MemoryTextControl control;
    typedIn(control, *keyCase);
    QCOMPARE(control.selStart(), control.length());
    QCOMPARE(control.selLength(), 0);
}

void TestComposer::decideTakesTwoPresses_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("keys");
    QTest::newRow("direct") << int(ImeDirect) << QByteArray("rk");
    QTest::newRow("romanized") << int(ImeRomanized) << QByteArray("ka");
}

void TestComposer::decideTakesTwoPresses()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, keys);
    MemoryTextControl control;
    ComposerState state;
    typeKeys(control, state, mode, keys.constData());
    int &flag = mode == ImeDirect ? state.DirectDecide : state.RomanDecide;
    QCOMPARE(flag, 0);
    QCOMPARE(typeKeys(control, state, mode, " "), 0);
    QCOMPARE(flag, 1);
    QCOMPARE(control.text(), u"가"_qs);
    QCOMPARE(typeKeys(control, state, mode, " "), int(' '));
    QCOMPARE(flag, 0);
    QCOMPARE(control.text(), u"가 "_qs);
    QCOMPARE(typeKeys(control, state, mode, " "), 0);
    QCOMPARE(flag, 1);
}

// Switching the scheme neither reads nor clears the other scheme's flag.
void TestComposer::decideFlagsAreSeparate()
{
    MemoryTextControl control;
    ComposerState state;
    typeKeys(control, state, ImeDirect, "rk ");
    QCOMPARE(state.DirectDecide, 1);
    typeKeys(control, state, ImeRomanized, "n");
    QCOMPARE(control.text(), u"간"_qs);
    QCOMPARE(state.DirectDecide, 1);
    typeKeys(control, state, ImeDirect, "r");
    QCOMPARE(control.text(), u"간ㄱ"_qs);
    QCOMPARE(state.DirectDecide, 0);
}

void TestComposer::emptyTextResetsDecide_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("expected");
    // A stale flag would let the space through after the K.
    QTest::newRow("direct K") << int(ImeDirect) << QByteArray("K ") << u"K"_qs;
    QTest::newRow("roman K") << int(ImeRomanized) << QByteArray("K ") << u"K"_qs;
    QTest::newRow("direct space") << int(ImeDirect) << QByteArray(" ") << u" "_qs;
    QTest::newRow("roman space") << int(ImeRomanized) << QByteArray(" ") << u" "_qs;
    // A stale flag would keep the ㄴ from becoming a final.
    QTest::newRow("roman vowel") << int(ImeRomanized) << QByteArray("an") << u"안"_qs;
}

void TestComposer::emptyTextResetsDecide()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, keys);
    QFETCH(QString, expected);
    MemoryTextControl control;
    ComposerState state;
    state.DirectDecide = state.RomanDecide = 1;
    typeKeys(control, state, mode, keys.constData());
    QCOMPARE(control.text(), expected);
}

void TestComposer::returnedKeys_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("returned");
    const int d = ImeDirect, r = ImeRomanized;
    QTest::newRow("direct consonant") << d << u""_qs << int('r') << 0;
    QTest::newRow("direct vowel") << d << u"가"_qs << int('k') << 0;
    QTest::newRow("direct digit") << d << u"가"_qs << int('7') << int('7');
    QTest::newRow("direct Enter") << d << u"가"_qs << 13 << 13;
    QTest::newRow("direct tab") << d << u"가"_qs << int('\t') << int('\t');
    QTest::newRow("direct capital") << d << u"가"_qs << int('A') << int('A');
    QTest::newRow("direct high byte") << d << u"가"_qs << 0xE9 << 0xE9;
    QTest::newRow("direct bs jamo") << d << u"ㄱ"_qs << 8 << 8;
    QTest::newRow("direct bs syllable") << d << u"각"_qs << 8 << 0;
    QTest::newRow("direct bs empty") << d << u""_qs << 8 << 0;
    QTest::newRow("roman prefix") << r << u""_qs << int('w') << 0;
    QTest::newRow("roman vowel") << r << u""_qs << int('a') << 0;
    QTest::newRow("roman g alone") << r << u"가"_qs << int('g') << int('g');
    QTest::newRow("roman g after n") << r << u"간"_qs << int('g') << 0;
    QTest::newRow("roman f") << r << u"가"_qs << int('f') << int('f');
    QTest::newRow("roman Enter") << r << u"가"_qs << 13 << 13;
    QTest::newRow("roman bs silent") << r << u"아"_qs << 8 << 8;
    QTest::newRow("roman bs initial") << r << u"가"_qs << 8 << 0;
}

void TestComposer::returnedKeys()
{
    QFETCH(int, mode);
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(int, returned);
    MemoryTextControl control;
    control.setText(before);
    control.setSelStart(before.size());
    ComposerState state;
    const int result = mode == ImeDirect ? ComposeDirectKey(key, control, state, false)
                                         : ComposeRomanizedKey(key, control, state);
    QCOMPARE(result, returned);
    if (result != 0)
        QCOMPARE(control.text(), before); // a key let through writes nothing itself
}

// Which Backspace steps clear the romanized prefixes and the decide flags.
void TestComposer::backspaceFlags_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("prefixKept");
    QTest::newRow("empty text") << u""_qs << false;
    QTest::newRow("double jamo") << u"ㄲ"_qs << true;
    QTest::newRow("compound jamo") << u"ㄺ"_qs << true;
    QTest::newRow("plain jamo") << u"ㄱ"_qs << false;
    QTest::newRow("other character") << u"x"_qs << false;
    QTest::newRow("syllable with final") << u"각"_qs << false;
    QTest::newRow("syllable without final") << u"가"_qs << true;
    QTest::newRow("silent syllable") << u"아"_qs << true;
}

void TestComposer::backspaceFlags()
{
    QFETCH(QString, before);
    QFETCH(bool, prefixKept);
    for (int prefix = 0; prefix < 3; ++prefix) {
        MemoryTextControl control;
        control.setText(before);
        control.setSelStart(before.size());
        ComposerState state;
        state.DirectDecide = state.RomanDecide = 1;
        (prefix == 0 ? state.PrefixY : prefix == 1 ? state.PrefixW : state.PrefixCapitalW) = 1;
        ComposeRomanizedKey(KeyBackspace, control, state);
        QCOMPARE(state.RomanDecide, 0);
        QCOMPARE(state.DirectDecide, 1); // the other scheme's flag is left alone
        QCOMPARE(state.PrefixY + state.PrefixW + state.PrefixCapitalW, prefixKept ? 1 : 0);

        control.setText(before);
        control.setSelStart(before.size());
        ComposeDirectKey(KeyBackspace, control, state, false);
        QCOMPARE(state.DirectDecide, 0);
    }
}

void TestComposer::selectionNeverReplaced_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("singleLine");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    const int d = ImeDirect, r = ImeRomanized;
    // Text 가나다 with 나 selected: direct types at the end, romanized at the start.
    QTest::newRow("direct consonant") << d << false << QByteArray("s") << u"가난다"_qs << 2;
    QTest::newRow("direct vowel") << d << false << QByteArray("k") << u"가나아다"_qs << 3;
    QTest::newRow("direct digit") << d << false << QByteArray("1") << u"가나1다"_qs << 3;
    QTest::newRow("direct bs") << d << false << QByteArray("\b") << u"가ㄴ다"_qs << 2;
    QTest::newRow("direct space") << d << false << QByteArray(" ") << u"가나다"_qs << 2;
    QTest::newRow("roman consonant") << r << false << QByteArray("n") << u"간나다"_qs << 1;
    QTest::newRow("roman vowel") << r << false << QByteArray("a") << u"가아나다"_qs << 2;
    QTest::newRow("roman digit") << r << false << QByteArray("1") << u"가1나다"_qs << 2;
    QTest::newRow("roman bs") << r << false << QByteArray("\b") << u"ㄱ나다"_qs << 1;
    // The edit line types at the selection's start in both schemes.
    QTest::newRow("line direct") << d << true << QByteArray("s") << u"간나다"_qs << 1;
    QTest::newRow("line roman") << r << true << QByteArray("n") << u"간나다"_qs << 1;
}

void TestComposer::selectionNeverReplaced()
{
    QFETCH(int, mode);
    QFETCH(bool, singleLine);
    QFETCH(QByteArray, keys);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    MemoryTextControl control(singleLine);
    control.setText(u"가나다");
    control.select(1, 1);
    ComposerState state;
    typeKeys(control, state, mode, keys.constData());
    QCOMPARE(control.text(), expected);
    QCOMPARE(control.selStart(), caret);
    QCOMPARE(control.selLength(), 0);
}

// Moving the caret next to any syllable and typing continues that syllable.
void TestComposer::caretInsideText_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("direct final") << int(ImeDirect) << 1 << QByteArray("s") << u"간\n나"_qs;
    QTest::newRow("direct bs") << int(ImeDirect) << 1 << QByteArray("\b") << u"ㄱ\n나"_qs;
    QTest::newRow("direct start") << int(ImeDirect) << 0 << QByteArray("\bk") << u"아가\n나"_qs;
    QTest::newRow("direct line start") << int(ImeDirect) << 2 << QByteArray("s") << u"가\nㄴ나"_qs;
    QTest::newRow("roman final") << int(ImeRomanized) << 3 << QByteArray("m") << u"가\n남"_qs;
    QTest::newRow("roman compound") << int(ImeRomanized) << 1 << QByteArray("wa") << u"가와\n나"_qs;
}

void TestComposer::caretInsideText()
{
    QFETCH(int, mode);
    QFETCH(int, caret);
    QFETCH(QByteArray, keys);
    QFETCH(QString, expected);
    MemoryTextControl control;
    control.setText(u"가\n나");
    control.setSelStart(caret);
    ComposerState state;
    typeKeys(control, state, mode, keys.constData());
    QCOMPARE(control.text(), expected);
}

void TestComposer::randomKeysStayLocalAndValid_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("singleLine");
    QTest::addColumn<bool>("selfDelete");
    QTest::newRow("direct") << int(ImeDirect) << false << false;
    QTest::newRow("direct selfDelete") << int(ImeDirect) << false << true;
    QTest::newRow("direct line") << int(ImeDirect) << true << false;
    QTest::newRow("romanized") << int(ImeRomanized) << false << false;
    QTest::newRow("romanized line") << int(ImeRomanized) << true << false;
}

// Any key sequence changes at most the character before the caret and adds at
// most one character, and every unit it writes is a syllable, a listed jamo or
// the typed character; the text elsewhere is untouched.
void TestComposer::randomKeysStayLocalAndValid()
{
    QFETCH(int, mode);
    QFETCH(bool, singleLine);
    QFETCH(bool, selfDelete);
    static const char keys[] = "abcdefghijklmnopqrstuvwxyzEOPQRTWUK  \b\b\b\b1.\r";
    static const char16_t seeds[] = u"가각갉힣아와ㄱㄲㄺㅏㅘxＡ\n\xE000\xD7A4\xABFF";
    QRandomGenerator rng(1234 + mode * 7 + singleLine + 2 * selfDelete);
    for (int run = 0; run < 300; ++run) {
        MemoryTextControl control(singleLine);
        QString text;
        for (int i = int(rng.bounded(8)); i > 0; --i)
            text += QChar(seeds[rng.bounded(int(std::size(seeds)) - 1)]);
        control.setText(text);
        const qsizetype start = rng.bounded(int(text.size()) + 1);
        control.select(start, rng.bounded(int(text.size() - start) + 1));
        ComposerState state;
        for (int step = 0; step < 30; ++step) {
            const int key = static_cast<unsigned char>(keys[rng.bounded(int(sizeof keys) - 1)]);
            const QString before = control.text();
            const qsizetype caret = !singleLine && mode == ImeDirect
                                        ? control.selStart() + control.selLength()
                                        : control.selStart();
            const char buf[2] = {char(key), 0};
            typeKeys(control, state, mode, buf, selfDelete);
            const QString after = control.text();
            const qsizetype keep = std::max<qsizetype>(caret - 1, 0);
            const qsizetype tail = before.size() - caret;
            QVERIFY2(after.size() >= keep + tail && after.size() <= before.size() + 1,
                     qPrintable(before + QStringLiteral(" -> ") + after));
            QCOMPARE(after.left(keep), before.left(keep));
            QCOMPARE(after.right(tail), before.right(tail));
            const QStringView middle = QStringView(after).sliced(keep, after.size() - keep - tail);
            for (QChar c : middle) {
                const char16_t u = c.unicode();
                const bool typed = u == key || (key == '\r' && u == u'\n');
                const bool old = caret > 0 && u == before.at(caret - 1).unicode();
                QVERIFY2(typed || old || hangul::isSyllable(u) || hangul::isListedJamo(u),
                         qPrintable(QString::number(u, 16)));
            }
            QCOMPARE(state.DirectDecide | 1, 1);
            QCOMPARE(state.RomanDecide | 1, 1);
            QVERIFY(state.PrefixY + state.PrefixW + state.PrefixCapitalW <= 1);
        }
    }
}

void TestComposer::modeCommandAnnouncesEveryChoice()
{
    ImeModeCommand &command = ImeModeCommand::instance();
    QCOMPARE(ImeMode, int(ImeRomanized)); // the start value
    QSignalSpy announced(&command, &ImeModeCommand::modeChanged);
    command.choose(ImeDirect);
    command.choose(ImeDirect); // picked again: announced again (the open syllable is decided)
    command.choose(ImeNone);
    QCOMPARE(ImeMode, int(ImeNone));
    command.choose(3); // no such mode
    command.choose(-1);
    QCOMPARE(ImeMode, int(ImeNone));
    QCOMPARE(announced.size(), 3);
    QCOMPARE(announced.at(0).at(0).toInt(), int(ImeDirect));
    QCOMPARE(announced.at(1).at(0).toInt(), int(ImeDirect));
    QCOMPARE(announced.at(2).at(0).toInt(), int(ImeNone));
    command.choose(ImeRomanized);
}

QTEST_APPLESS_MAIN(TestComposer)
#include "tst_composer.moc"
