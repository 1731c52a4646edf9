// Every example of the keymap help, typed into the editor in the romanized mode,
// gives the Hangul in its parentheses.
#include "document/memory_text_control.h"
#include "ime/composer.h"
#include "ime/help_form.h"

#include <QRegularExpression>
#include <QTest>

class TestHelpRomanized : public QObject
{
    Q_OBJECT
private slots:
    void examples_data();
    void examples();
};

void TestHelpRomanized::examples_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("hangul");
    const QStringList lines = romanizedKeymapHelpText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 25);
    // "keys(hangul)", the keys possibly "first/second" spellings of the same thing.
    static const QRegularExpression example(QStringLiteral("([^(),]+)\\(([^)]+)\\)"));
    int count = 0;
    for (int i = 14; i < 25; ++i)
        for (const auto &m : example.globalMatch(lines.at(i))) {
            const QString hangul = m.captured(2);
            for (const QString &keys : m.captured(1).trimmed().split(QLatin1Char('/'))) {
                QTest::addRow("line %d: %s", i + 1, qPrintable(keys)) << keys << hangul;
                ++count;
            }
        }
    QCOMPARE(count, 36);
}

void TestHelpRomanized::examples()
{
    QFETCH(QString, keys);
    QFETCH(QString, hangul);
    MemoryTextControl memo;
    ComposerState state;
    for (QChar key : keys) {
        // A key the composer lets through reaches the control as typed.
        if (const int passed = ComposeRomanizedKey(key.unicode(), memo, state))
            memo.replaceSelection(QString(QChar(passed)));
    }
    QCOMPARE(memo.text(), hangul);
}

QTEST_GUILESS_MAIN(TestHelpRomanized)
#include "tst_help_romanized.moc"
