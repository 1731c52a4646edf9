// Learned Hanja choices, the user dictionary and the symbols of a consonant jamo:
// the history's file (any bytes, the bound, atomic rewrite, forgetting), the order
// candidates are offered in, and the state folder's rule. No widgets.
#include "convert/hanja_lookup.h"
#include "convert/hanja_sources.h"
#include "document/memory_text_control.h"
#include "document/state_folder.h"
#include "ime/composer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList hanjaOf(const HanjaLookup &lookup)
{
    QStringList result;
    for (const HanjaCandidate &c : lookup.candidates)
        result << c.hanja;
    return result;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestHanjaSources : public QObject
{
    Q_OBJECT
private slots:
    void historyFile();
    void historyBound();
    void order_data();
    void order();
    void symbols();
    void userDictionaryReloads();
    void stateFolderRule();

private:
    QTemporaryDir m_dir;
};

void TestHanjaSources::historyFile()
{
    const QString path = m_dir.filePath(u"state/tavriledit/hanja-history"_s);
    HanjaHistory history;
    history.load(path); // missing: empty
    QCOMPARE(history.size(), 0);
    history.record(u"한국", u"寒國");
    history.record(u"한국", u"韓國"); // the last choice wins
    history.record(u"전화", u"電話");
    QCOMPARE(history.preferred(u"한국"), u"韓國"_s);
    QVERIFY(history.save()); // makes the folders
    QVERIFY(!QFile::exists(path + u".tmp"_s));

    HanjaHistory again;
    again.load(path);
    QCOMPARE(again.size(), 2);
    QCOMPARE(again.preferred(u"한국"), u"韓國"_s);
    QCOMPARE(again.preferred(u"전화"), u"電話"_s);
    QCOMPARE(again.preferred(u"없음"), QString());

    // Any bytes: lines without a tab, empty fields, bad UTF-8 and CR LF are survived.
    writeFile(path, "\xff\xfe\n\t\nx\t\n\ttail\n\xed\x95\x9c\t\xe9\x9f\x93\r\nno tab\n");
    again.load(path);
    QCOMPARE(again.size(), 1);
    QCOMPARE(again.preferred(u"한"), u"韓"_s);

    again.clear();
    QVERIFY(again.save());
    QVERIFY(!QFile::exists(path)); // forgotten: nothing left behind
}

void TestHanjaSources::historyBound()
{
    const QString path = m_dir.filePath(u"bound/hanja-history"_s);
    HanjaHistory history;
    history.load(path);
    const qsizetype total = HanjaHistory::Limit + 50;
    for (qsizetype i = 0; i < total; ++i)
        history.record(QString::number(i), u"字"_s);
    history.record(u"0", u"字"_s); // used again: now among the most recent
    QVERIFY(history.save());
    HanjaHistory again;
    again.load(path);
    QCOMPARE(again.size(), HanjaHistory::Limit);
    QCOMPARE(again.preferred(u"0"), u"字"_s);
    QCOMPARE(again.preferred(u"1"), QString()); // the oldest went
    QCOMPARE(again.preferred(QString::number(total - 1)), u"字"_s);
}

void TestHanjaSources::order_data()
{
    QTest::addColumn<bool>("user");
    QTest::addColumn<QString>("learned"); // the choice learned for 한국, if any
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("dictionary order")
        << false << QString() << QStringList{u"寒國"_s, u"寒菊"_s, u"韓國"_s, u"國"_s};
    QTest::newRow("learned first")
        << false << u"韓國"_s << QStringList{u"韓國"_s, u"寒國"_s, u"寒菊"_s, u"國"_s};
    QTest::newRow("user before system")
        << true << QString() << QStringList{u"漢國"_s, u"寒國"_s, u"寒菊"_s, u"韓國"_s, u"國"_s};
    QTest::newRow("learned before user")
        << true << u"寒菊"_s << QStringList{u"寒菊"_s, u"漢國"_s, u"寒國"_s, u"韓國"_s, u"國"_s};
    QTest::newRow("learned from the user dictionary")
        << true << u"漢國"_s << QStringList{u"漢國"_s, u"寒國"_s, u"寒菊"_s, u"韓國"_s, u"國"_s};
    QTest::newRow("learned but no longer offered")
        << false << u"漢國"_s << QStringList{u"寒國"_s, u"寒菊"_s, u"韓國"_s, u"國"_s};
}

void TestHanjaSources::order()
{
    QFETCH(bool, user);
    QFETCH(QString, learned);
    QFETCH(QStringList, expected);
    HanjaDictionary system;
    system.loadBytes("한국:寒國:\n한국:寒菊:\n한국:韓國:\n국:國:\n"_ba);
    HanjaDictionary mine;
    mine.loadBytes("# mine\n한국:漢國:\n국:國:\n"_ba); // 國 again: offered once
    HanjaHistory history;
    if (!learned.isEmpty())
        history.record(u"한국", learned);
    MemoryTextControl control;
    control.setText(u"한국"_s);
    control.setSelStart(2);
    const HanjaLookup lookup =
        lookUpHanja(system, control, {user ? &mine : nullptr, nullptr, &history});
    QCOMPARE(hanjaOf(lookup), expected);
    QCOMPARE(readingOf(lookup, 0), u"한국"_s);
    QCOMPARE(readingOf(lookup, expected.size() - 1), u"국"_s);
}

void TestHanjaSources::symbols()
{
    HanjaDictionary system;
    system.loadBytes("한:韓:\n"_ba);
    HanjaDictionary symbols;
    symbols.loadBytes("ㅁ:＃:\nㅁ:＆:\nㅁ:＊:\nㄱ:！:\n"_ba);
    HanjaHistory history;
    MemoryTextControl control;
    control.setText(u"한ㅁ"_s);
    control.setSelStart(2);
    HanjaLookup lookup = lookUpHanja(system, control, {nullptr, &symbols, &history});
    QCOMPARE(hanjaOf(lookup), (QStringList{u"＃"_s, u"＆"_s, u"＊"_s}));
    QCOMPARE(lookup.candidates.at(0).readingLength, 1);
    ComposerState state;
    QVERIFY(applyHanjaCandidate(control, lookup, 1, state));
    QCOMPARE(control.text(), u"한＆"_s); // the jamo is replaced
    // A learned symbol comes first; a vowel jamo or a syllable offers no symbol.
    history.record(u"ㅁ", u"＊");
    control.setText(u"ㅁ"_s);
    control.setSelStart(1);
    QCOMPARE(hanjaOf(lookUpHanja(system, control, {nullptr, &symbols, &history})).first(), u"＊"_s);
    control.setText(u"ㅏ"_s);
    control.setSelStart(1);
    QVERIFY(lookUpHanja(system, control, {nullptr, &symbols, &history}).candidates.isEmpty());
    control.setText(u"한"_s);
    control.setSelStart(1);
    QCOMPARE(hanjaOf(lookUpHanja(system, control, {nullptr, &symbols, &history})),
             QStringList{u"韓"_s});
}

void TestHanjaSources::userDictionaryReloads()
{
    const QString path = m_dir.filePath(u"hanja-user.txt"_s);
    ReloadingHanjaDictionary user;
    QCOMPARE(user.get(path).entryCount(), 0); // missing: empty
    writeFile(path, userHanjaDictionaryTemplate() + "가:架:\n");
    QCOMPARE(user.get(path).entryCount(), 1);
    writeFile(path, "가:架:\n가:加:\n나:那:\n"); // a change of size is seen
    QCOMPARE(user.get(path).lookUp(u"가").size(), 2);
    QVERIFY(userHanjaDictionaryTemplate().startsWith('#'));
}

void TestHanjaSources::stateFolderRule()
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/tmp/somewhere");
    QCOMPARE(hanjaHistoryPath(), u"/tmp/somewhere/tavriledit/hanja-history"_s);
    qputenv("XDG_STATE_HOME", "relative/state"); // not absolute: ignored
    QCOMPARE(userStateFolder(), QDir::homePath() + u"/.local/state/"_s);
    qputenv("XDG_STATE_HOME", saved);
}

QTEST_GUILESS_MAIN(TestHanjaSources)
#include "tst_hanja_sources.moc"
