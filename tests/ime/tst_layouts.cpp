// The direct mode's library layouts on the in-memory control: composition rows per
// layout (Backspace, lone jamo, space, caret moves ending a syllable), the output
// fix-ups of the library's fillers, the open syllable as the control's composition,
// and the choices read from and written to "tavriledit.ini".
#include "document/memory_text_control.h"
#include "ime/composer.h"
#include "ime/hangul_layout.h"
#include "ime/input_options.h"
#include "key_typing.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Types `keys` in the direct mode; '\x01' moves the caret to the start and back.
QString typeInLayout(MemoryTextControl &control, ComposerState &state, const char *keys)
{
    for (const char *k = keys; *k; ++k) {
        if (*k == '\x01') {
            const qsizetype caret = control.selStart();
            control.setSelStart(0);
            control.setSelStart(caret);
            continue;
        }
        const int result =
            composeKeyInMode(ImeDirect, static_cast<unsigned char>(*k), control, state);
        if (result != 0)
            controlTypes(control, result);
    }
    return control.text();
}

} // namespace

class TestLayouts : public QObject
{
    Q_OBJECT
private slots:
    void offered();
    void typing_data();
    void typing();
    void openSyllable();
    void libraryOutput_data();
    void libraryOutput();
    void writtenLayoutMarksComposition();
    void options();
};

void TestLayouts::offered()
{
    const QList<layouts::Layout> all = layouts::allLayouts();
    QCOMPARE(all.size(), 9);
    QCOMPARE(QByteArray(all.first().id), QByteArray());
    QVERIFY(layouts::isAvailable(QByteArray()));
    QVERIFY(!layouts::isAvailable("ro"));
    QVERIFY(!layouts::isAvailable("no-such-layout"));
    // Each library layout is offered exactly when its keyboard file is there.
    for (const layouts::Layout &layout : all) {
        if (*layout.id == 0)
            continue;
        const bool file = QFile::exists(
            QStringLiteral("/usr/share/libhangul/keyboards/hangul-keyboard-%1.xml").arg(layout.id));
        QCOMPARE(layouts::isAvailable(layout.id), file);
    }
}

void TestLayouts::typing_data()
{
    QTest::addColumn<QByteArray>("layout");
    QTest::addColumn<bool>("reorder");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *layout, const char *keys,
                        const char16_t *expected, const char16_t *before = u"",
                        bool reorder = false) {
        QTest::newRow(name) << QByteArray(layout) << reorder << QString::fromUtf16(before)
                            << QByteArray(keys) << QString::fromUtf16(expected);
    };
    row("390 m f s k g w", "39", "mfskgw", u"한글");
    row("390 u f w x", "39", "ufwx", u"닭");
    row("390 u f D", "39", "ufD", u"닭");
    row("390 k / f", "39", "k/f", u"과");
    row("390 k f k f", "39", "kfkf", u"가가");
    row("390 vowel first, no reorder", "39", "fm", u"ㅏㅎ");
    row("390 vowel first, reorder", "39", "fms", u"한", u"", true);
    row("390 space typed", "39", "kf kf", u"가 가");
    row("final m f s k g w", "3f", "mfskgw", u"한글");
    row("noshift k f", "3s", "kf", u"가");
    row("standard 안녕하세요", "2", "dkssudgktpdy", u"안녕하세요");
    row("standard space typed", "2", "rk rk", u"가 가");
    row("standard final moves", "2", "sksk", u"나나");
    row("standard lone consonant", "2", "r", u"ㄱ");
    row("standard lone vowel", "2", "k", u"ㅏ");
    row("standard Backspace in syllable", "2", "rks\b", u"가");
    row("standard Backspace to jamo", "2", "rk\b", u"ㄱ");
    row("standard Backspace empties", "2", "r\b", u"");
    row("standard Backspace after decided", "2", "rk \b\b", u"");
    row("standard Backspace deletes text", "2", "\b", u"a", u"ab");
    row("standard Enter", "2", "rk\rk", u"가\nㅏ");
    row("standard caret move ends syllable", "2", "rk\x01s", u"가ㄴ");
    row("standard caret move then vowel", "2", "dks\x01k", u"안ㅏ");
    row("standard after text", "2", "gks", u"x한", u"x");
    row("dubeol layout k f", "32", "rk", u"가");
    row("old initial and vowel stay conjoining", "2y", "Sk", u"\u115D\u1161");
    row("old vowel after initial", "2y", "rbn", u"\u1100\u1193");
    row("old vowel alone", "2y", "bn", u"\u1193");
}

void TestLayouts::typing()
{
    QFETCH(QByteArray, layout);
    QFETCH(bool, reorder);
    QFETCH(QString, before);
    QFETCH(QByteArray, keys);
    QFETCH(QString, expected);
    if (!layouts::isAvailable(layout))
        QSKIP("keyboard file missing");
    const InputOptions options{layout, reorder};
    MemoryTextControl control;
    control.setText(before);
    control.setSelStart(control.length());
    ComposerState state;
    state.options = &options;
    QCOMPARE(typeInLayout(control, state, keys.constData()), expected);
    QCOMPARE(control.selStart(), control.length());
}

void TestLayouts::openSyllable()
{
    if (!layouts::isAvailable("39"))
        QSKIP("keyboard file missing");
    InputOptions options;
    options.directLayout = "39";
    MemoryTextControl control;
    ComposerState state;
    state.options = &options;
    typeInLayout(control, state, "mfs");
    QCOMPARE(control.composition(), (TextControl::Span{0, 1}));
    typeInLayout(control, state, "k");
    QCOMPARE(control.text(), QStringLiteral("한ㄱ"));
    QCOMPARE(control.composition(), (TextControl::Span{1, 1}));
    typeInLayout(control, state, " ");
    QCOMPARE(control.text(), QStringLiteral("한ㄱ "));
    QCOMPARE(control.composition(), TextControl::Span{});
    // A choice of layout made while a syllable is open starts afresh.
    typeInLayout(control, state, "k");
    options.directLayout = "2";
    typeInLayout(control, state, "k");
    QCOMPARE(control.text(), QStringLiteral("한ㄱ ㄱㅏ"));
    // A control that takes no typing gets the keys back, and no syllable stays open.
    control.setText(QString());
    control.setReadOnly(true);
    QCOMPARE(composeKeyInMode(ImeDirect, 'r', control, state), int('r'));
    control.setReadOnly(false);
    typeInLayout(control, state, "k");
    QCOMPARE(control.text(), QStringLiteral("ㅏ"));
    // A command's edit ends the syllable without changing the text.
    control.setText(QString());
    typeInLayout(control, state, "rk");
    control.replaceRange(0, 0, u"x");
    control.setSelStart(control.length());
    typeInLayout(control, state, "s");
    QCOMPARE(control.text(), QStringLiteral("x가ㄴ"));
}

void TestLayouts::libraryOutput_data()
{
    QTest::addColumn<QList<uint>>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("syllable") << QList<uint>{0xD55C} << QStringLiteral("한");
    QTest::newRow("fillers around a vowel") << QList<uint>{0x115F, 0x1161} << QStringLiteral("ㅏ");
    QTest::newRow("initial and filler") << QList<uint>{0x1100, 0x1160} << QStringLiteral("ㄱ");
    QTest::newRow("initial and final, no vowel")
        << QList<uint>{0x1105, 0x1160, 0x11B7} << QStringLiteral("ㄹㅁ");
    QTest::newRow("old syllable kept")
        << QList<uint>{0x110A, 0x116D, 0xD7E8} << QString::fromUtf16(u"\u110A\u116D\uD7E8");
    QTest::newRow("two syllables and a sign")
        << QList<uint>{0x115F, 0x1160, 0x11A8, ';', 0xAC00} << QStringLiteral("ㄱ;가");
    QTest::newRow("lone filler") << QList<uint>{0x115F, 0x1160} << QString();
}

void TestLayouts::libraryOutput()
{
    QFETCH(QList<uint>, input);
    QFETCH(QString, expected);
    std::vector<std::uint32_t> ucs4(input.begin(), input.end());
    ucs4.push_back(0);
    QCOMPARE(layouts::textFromLibrary(ucs4.data()), expected);
}

void TestLayouts::writtenLayoutMarksComposition()
{
    MemoryTextControl control;
    ComposerState state;
    typeInLayout(control, state, "rk");
    QCOMPARE(control.composition(), (TextControl::Span{0, 1}));
    typeInLayout(control, state, " "); // taken as decide
    QCOMPARE(control.text(), QStringLiteral("가"));
    QCOMPARE(control.composition(), TextControl::Span{});
    typeInLayout(control, state, "r");
    QCOMPARE(control.composition(), (TextControl::Span{1, 1}));
    typeInLayout(control, state, "1");
    QCOMPARE(control.composition(), TextControl::Span{});
}

void TestLayouts::options()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    // Nothing stored: the defaults.
    InputOptions read = readInputOptions(folder);
    QCOMPARE(read.directLayout, QByteArray());
    QCOMPARE(read.autoReorder, false);
    QCOMPARE(read.learnHanja, true);
    const QByteArray layout = layouts::isAvailable("39") ? "39" : "";
    QVERIFY(writeInputOptions(folder, {layout, true, false}));
    QVERIFY(QFile::exists(folder + QStringLiteral("tavriledit.ini")));
    read = readInputOptions(folder);
    QCOMPARE(read.directLayout, layout);
    QCOMPARE(read.autoReorder, true);
    QCOMPARE(read.learnHanja, false);
    // A layout that is not offered here falls back to the written one.
    QVERIFY(writeInputOptions(folder, {"ro", false, true}));
    QCOMPARE(readInputOptions(folder).directLayout, QByteArray());
    QVERIFY(!writeInputOptions(QStringLiteral("/proc/no-such-folder/"), {}));
}

QTEST_GUILESS_MAIN(TestLayouts)
#include "tst_layouts.moc"
