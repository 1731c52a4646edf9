// The program in the user's language: the main window built under Korean,
// Japanese and C reads its menu bar, caption and status bar in that language,
// as an accessibility client sees them, with Qt's own texts beside them.
#include "app/main_window.h"
#include "app/translations.h"
#include "support/main_window_fixture.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QMenuBar>
#include <QTest>

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void mainWindowSpeaksTheLocale_data();
    void mainWindowSpeaksTheLocale();
};

void TestTranslations::mainWindowSpeaksTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("menuBar");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("wrapPanel");
    QTest::addColumn<QString>("qtYes"); // a standard button of Qt's own
    QTest::addColumn<QString>("cut");   // both context menus' first item

    QTest::newRow("Korean") << "ko_KR"
                            << "ko" << QStringList{"파일",   "편집",   "한글(로마자)", "한글(직접)",
                                                   "IME 끔", "입력기", "도움말"}
                            << "Tavril 한국어 편집기 Ver 0.8(한글 입력기 내장 로마자/직접)"
                            << "줄 바꿈 없음"
                            << "예(&Y)"
                            << "잘라내기";
    QTest::newRow("Japanese") << "ja_JP"
                              << "ja" << QStringList{"ファイル", "編集", "ローマ字入力", "直接入力",
                                                     "IMEオフ",  "IME",  "ヘルプ"}
                              << "Tavril 韓国語エディター Ver 0.8(韓国語IME内蔵 ローマ字/直接)"
                              << "折り返しなし"
                              << "はい(&Y)"
                              << "切り取り";
    QTest::newRow("C") << "C"
                       << "" << QStringList{"file",   "edit", "KoreaRomaIME", "KoreaDirectIME",
                                            "nonIME", "IME",  "help"}
                       << "Tavril Korean Editor Ver 0.8(Built-in Korean IME Romanized/Direct)"
                       << "noWrapLine"
                       << "&Yes"
                       << "Cut";
}

void TestTranslations::mainWindowSpeaksTheLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, language);
    QFETCH(QStringList, menuBar);
    QFETCH(QString, caption);
    QFETCH(QString, wrapPanel);
    QFETCH(QString, qtYes);
    QFETCH(QString, cut);

    const ProgramTranslations translations{QLocale(locale)};
    QCOMPARE(translations.language().left(2), language);
    MainWindowFixture app;
    app.form.show();

    // The menu bar's items by their accessible names, as a screen reader reads them.
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(app.form.menuBar());
    QVERIFY(bar);
    QStringList names;
    for (int i = 0; i < bar->childCount(); ++i)
        names << bar->child(i)->text(QAccessible::Name);
    QCOMPARE(names, menuBar);
    QCOMPARE(app.form.windowTitle(), caption);
    QCOMPARE(app.form.panelText(2), wrapPanel);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), qtYes);
    QCOMPARE(app.form.action("MenuItem1")->text(), cut);
    QCOMPARE(app.searchForm().action("Cut1")->text(), cut);
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
