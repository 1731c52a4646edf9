// The kanji reading table and the conversion: table shape, the records that
// carry an alternate reading, the telling rows, and the commands on both controls.
#include "app/main_window.h"
#include "convert/hanja_table.h"
#include "convert/kanji_to_hangul.h"
#include "document/memory_text_control.h"
#include "find/search_form.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_env.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

#include <map>

namespace {

// Every record with an alternate reading: ideograph first/second.
const char16_t *const SecondReadings = u"両 량/양, 了 료/요, 令 령/영, 例 례/예, 倫 륜/윤, 僚 "
                                       u"료/요, 兩 량/양, 六 륙/육, 凉 량/양, 列 렬/열, "
                                       u"利 리/이, 力 력/역, 劣 렬/열, 励 려/여, 勵 려/여, 吏 "
                                       u"리/이, 寮 료/요, 履 리/이, 廉 렴/염, 律 률/율, "
                                       u"恋 련/연, 戀 련/연, 戻 려/여, 料 료/요, 旅 려/여, 暦 "
                                       u"력/역, 林 림/임, 柳 류/유, 歴 력/역, 流 류/유, "
                                       u"涼 량/양, 烈 렬/열, 猟 렵/엽, 獵 렵/엽, 率 률/율, 理 "
                                       u"리/이, 留 류/유, 略 략/약, 痢 리/이, 療 료/요, "
                                       u"硫 류/유, 礼 례/예, 禮 례/예, 立 립/입, 竜 룡/용, 粒 "
                                       u"립/입, 糧 량/양, 練 련/연, 聯 련/연, 臨 림/임, "
                                       u"良 량/양, 裂 렬/열, 裏 리/이, 輪 륜/윤, 連 련/연, 里 "
                                       u"리/이, 量 량/양, 鈴 령/영, 錬 련/연, 陸 륙/육, "
                                       u"隆 륭/융, 隣 린/인, 隷 례/예, 離 리/이, 零 령/영, 霊 "
                                       u"령/영, 靈 령/영, 領 령/영, 類 류/유, 麗 려/여, "
                                       u"乱 란/난, 亂 란/난, 來 래/내, 冷 랭/냉, 労 로/노, 勞 "
                                       u"로/노, 卵 란/난, 塁 루/누, 壘 루/누, 廊 랑/낭, "
                                       u"怒 로/노, 朗 랑/낭, 来 래/내, 楼 루/누, 樓 루/누, 欄 "
                                       u"란/난, 浪 랑/낭, 涙 루/누, 滝 롱/농, 漏 루/누, "
                                       u"濫 람/남, 瀧 롱/농, 瀬 뢰/뇌, 炉 로/노, 爐 로/노, 累 "
                                       u"루/누, 緑 록/녹, 羅 라/나, 老 로/노, 落 락/낙, "
                                       u"虜 로/노, 裸 라/나, 論 론/논, 路 로/노, 郎 랑/낭, 酪 "
                                       u"락/낙, 録 록/녹, 陵 릉/능, 雷 뢰/뇌, 露 로/노, "
                                       u"匿 닉/익, 尼 니/이, 年 년/연, 泥 니/이, 不 불/부, 参 "
                                       u"삼/참, 復 복/부, 拓 척/탁, 数 수/삭, 數 수/삭, "
                                       u"更 갱/경, 李 이/리, 省 생/성, 茶 차/다, 金 김/금";

std::map<char16_t, std::pair<char16_t, char16_t>> secondReadings()
{
    std::map<char16_t, std::pair<char16_t, char16_t>> result;
    const QStringList items = QString::fromUtf16(SecondReadings).split(u", "_qs);
    for (const QString &item : items) {
        // "両 량/양"
        result[item.at(0).unicode()] = {item.at(2).unicode(), item.at(4).unicode()};
    }
    return result;
}

} // namespace

class TestKanjiToHangul : public QObject
{
    Q_OBJECT
private slots:
    void tableShape();
    void alternatesAreExactlyTheListedOnes();
    void tellingRows_data();
    void tellingRows();
    void unitsOutsideTablePassThrough_data();
    void unitsOutsideTablePassThrough();
    void everyKeyIsFound();
    void convertSelection_data();
    void convertSelection();
    void editorCommands_data();
    void editorCommands();
    void editLineCommands();
};

void TestKanjiToHangul::tableShape()
{
    QCOMPARE(sizeof(HanjaReadingTable), std::size_t(17536));
    QCOMPARE(HanjaReadingTable[0].ideograph, u'\u4E00');
    QCOMPARE(HanjaReadingTable[HanjaReadingCount - 1].ideograph, u'\u9F62');
    for (std::size_t i = 0; i < HanjaReadingCount; ++i) {
        const HanjaReading &r = HanjaReadingTable[i];
        if (i > 0)
            QVERIFY2(HanjaReadingTable[i - 1].ideograph < r.ideograph,
                     qPrintable(QString::number(i)));
        QVERIFY(r.firstReading >= 0xAC00 && r.firstReading <= 0xD7A3);
        QVERIFY(r.secondReading == 0 || (r.secondReading >= 0xAC00 && r.secondReading <= 0xD7A3));
        QVERIFY(r.readingCount == 1 || r.readingCount == 2);
    }
}

void TestKanjiToHangul::alternatesAreExactlyTheListedOnes()
{
    const auto listed = secondReadings();
    QCOMPARE(listed.size(), std::size_t(125));
    int withSecond = 0;
    int countTwo = 0;
    for (const HanjaReading &r : HanjaReadingTable) {
        countTwo += r.readingCount == 2;
        if (r.secondReading == 0) {
            QVERIFY2(!listed.count(r.ideograph), qPrintable(QString(QChar(r.ideograph))));
            QCOMPARE(r.readingCount, 1);
            continue;
        }
        ++withSecond;
        const auto it = listed.find(r.ideograph);
        QVERIFY2(it != listed.end(), qPrintable(QString(QChar(r.ideograph))));
        QCOMPARE(r.firstReading, it->second.first);
        QCOMPARE(r.secondReading, it->second.second);
        QCOMPARE(r.readingCount, r.ideograph == u'\u674E' ? 1 : 2); // 李 keeps its count of 1
    }
    QCOMPARE(withSecond, 125);
    QCOMPARE(countTwo, 124);
}

void TestKanjiToHangul::tellingRows_data()
{
    QTest::addColumn<char16_t>("kanji");
    QTest::addColumn<char16_t>("type1");
    QTest::addColumn<char16_t>("type2");
    QTest::newRow("一") << u'\u4E00' << u'\uC77C' << u'\uC77C';
    QTest::newRow("不") << u'\u4E0D' << u'\uBD88' << u'\uBD80';
    QTest::newRow("両") << u'\u4E21' << u'\uB7C9' << u'\uC591';
    QTest::newRow("乱") << u'\u4E71' << u'\uB780' << u'\uB09C';
    QTest::newRow("亂") << u'\u4E82' << u'\uB780' << u'\uB09C';
    QTest::newRow("年") << u'\u5E74' << u'\uB144' << u'\uC5F0';
    QTest::newRow("李") << u'\u674E' << u'\uC774' << u'\uB9AC';
    QTest::newRow("金") << u'\u91D1' << u'\uAE40' << u'\uAE08';
    QTest::newRow("茶") << u'\u8336' << u'\uCC28' << u'\uB2E4';
    QTest::newRow("齢") << u'\u9F62' << u'\uB839' << u'\uB839';
    QTest::newRow("女") << u'\u5973' << u'\uC5EC' << u'\uC5EC';
    QTest::newRow("楽") << u'\u697D' << u'\uC545' << u'\uC545';
    QTest::newRow("黒") << u'\u9ED2' << u'\uD751' << u'\uD751';
    QTest::newRow("黑") << u'\u9ED1' << u'\uD751' << u'\uD751';
}

void TestKanjiToHangul::tellingRows()
{
    QFETCH(char16_t, kanji);
    QFETCH(char16_t, type1);
    QFETCH(char16_t, type2);
    QCOMPARE(KanjiToHangul(kanji, false), type1);
    QCOMPARE(KanjiToHangul(kanji, true), type2);
}

void TestKanjiToHangul::unitsOutsideTablePassThrough_data()
{
    QTest::addColumn<char16_t>("unit");
    QTest::newRow("zero") << u'\0';
    QTest::newRow("line feed") << u'\n';
    QTest::newRow("Latin") << u'A';
    QTest::newRow("hiragana") << u'\u3042';
    QTest::newRow("katakana") << u'\u30AB';
    QTest::newRow("Hangul") << u'\uD55C';
    QTest::newRow("before the first key") << u'\u4DFF';
    QTest::newRow("between keys") << u'\u4E02';
    QTest::newRow("beyond the last key") << u'\u9F63';
    QTest::newRow("high surrogate") << char16_t(0xD840);
    QTest::newRow("low surrogate") << char16_t(0xDC0B);
    QTest::newRow("last unit") << u'\uFFFF';
}

void TestKanjiToHangul::unitsOutsideTablePassThrough()
{
    QFETCH(char16_t, unit);
    QCOMPARE(KanjiToHangul(unit, false), unit);
    QCOMPARE(KanjiToHangul(unit, true), unit);
}

void TestKanjiToHangul::everyKeyIsFound()
{
    for (const HanjaReading &r : HanjaReadingTable) {
        QCOMPARE(KanjiToHangul(r.ideograph, false), r.firstReading);
        QCOMPARE(KanjiToHangul(r.ideograph, true),
                 r.secondReading ? r.secondReading : r.firstReading);
    }
}

void TestKanjiToHangul::convertSelection_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("type2");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing selected") << u"両親"_qs << 1 << 0 << false << u"両親"_qs;
    QTest::newRow("Type1") << u"両親"_qs << 0 << 2 << false << u"량친"_qs;
    QTest::newRow("Type2") << u"両親"_qs << 0 << 2 << true << u"양친"_qs;
    QTest::newRow("only the selection") << u"年年年"_qs << 1 << 1 << true << u"年연年"_qs;
    QTest::newRow("lines and other scripts")
        << u"料理は\n美味しい, OK 한"_qs << 0 << 14 << true << u"요이は\n미미しい, OK 한"_qs;
    QTest::newRow("outside the basic plane kept")
        << u"\U00020B9F金"_qs << 0 << 3 << false << u"\U00020B9F김"_qs;
}

void TestKanjiToHangul::convertSelection()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(bool, type2);
    QFETCH(QString, expected);
    MemoryTextControl control;
    control.setText(text);
    control.select(start, length);
    QCOMPARE(convertSelectionToHangul(control, type2), text != expected);
    QCOMPARE(control.text(), expected);
    QCOMPARE(control.text().size(), text.size());
}

void TestKanjiToHangul::editorCommands_data()
{
    QTest::addColumn<bool>("type2");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Type1") << false << u"x량란이y"_qs;
    QTest::newRow("Type2") << true << u"x양난리y"_qs;
}

void TestKanjiToHangul::editorCommands()
{
    QFETCH(bool, type2);
    QFETCH(QString, expected);
    MainWindowFixture app;
    app.form.memo().setText(u"x両乱李y"_qs);
    app.form.memo().setSelStart(1);
    app.form.memo().setSelLength(3);
    (type2 ? app.form.action("KanjiJapantoHangulSelectAreaType21")
           : app.form.action("KanjiJapantoHangulSelectArea1"))
        ->trigger();
    QCOMPARE(app.form.memo().text(), expected);
    QVERIFY(documentModified);
    QCOMPARE(ImeMode, 1); // the input mode is not touched
}

void TestKanjiToHangul::editLineCommands()
{
    MainWindowFixture app;
    Tsearchform &dialog = app.searchForm();
    dialog.Edit1->setText(u"労働"_qs);
    dialog.Edit1->selectAll();
    dialog.action("KanjiJapantoHangulSelectAreaType21")->trigger();
    QCOMPARE(dialog.Edit1->text(), u"노働"_qs);
    dialog.Edit1->selectAll();
    dialog.Edit1->setText(u"勞"_qs);
    dialog.Edit1->selectAll();
    dialog.action("KanjiJapantoHangulSelectAreaType11")->trigger();
    QCOMPARE(dialog.Edit1->text(), u"로"_qs);
    QVERIFY(!documentModified);
}

QTEST_MAIN(TestKanjiToHangul)
#include "tst_kanji_to_hangul.moc"
