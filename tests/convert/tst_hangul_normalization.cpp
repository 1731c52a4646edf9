// Hangul composition and decomposition by Unicode's arithmetic alone: conjoining
// jamo sequences into syllables and back, other characters untouched.
#include "convert/hangul_normalization.h"

#include <QTest>

namespace {

std::u16string u16(const QString &s)
{
    return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size()));
}

QString q(const std::u16string &s)
{
    return QString(reinterpret_cast<const QChar *>(s.data()), qsizetype(s.size()));
}

} // namespace

class TestHangulNormalization : public QObject
{
    Q_OBJECT
private slots:
    void compose_data();
    void compose();
    void decomposeAll();
};

void TestHangulNormalization::compose_data()
{
    QTest::addColumn<QString>("decomposed");
    QTest::addColumn<QString>("composed");
    QTest::newRow("L V") << QStringLiteral("\u1112\u1161") << QStringLiteral("하");
    QTest::newRow("L V T") << QStringLiteral("\u1112\u1161\u11AB\u1100\u1173\u11AF")
                           << QStringLiteral("한글");
    QTest::newRow("last syllable blocks")
        << QStringLiteral("\u1110\u1175\u11C2") << QStringLiteral("팋");
    // A precomposed syllable without a final takes a following trailing consonant.
    QTest::newRow("LV syllable and T") << QStringLiteral("하\u11AB") << QStringLiteral("한");
    QTest::newRow("mixed with ASCII and a break")
        << QStringLiteral("a \u1100\u1161\nb") << QStringLiteral("a 가\nb");
    // Not Hangul: a combining accent stays as it is.
    QTest::newRow("e and acute untouched")
        << QStringLiteral("e\u0301") << QStringLiteral("e\u0301");
    // Jamo that do not compose: a lone leading consonant, a vowel without one,
    // old jamo outside the modern ranges, a trailing consonant after a syllable
    // that already has one.
    QTest::newRow("lone L") << QStringLiteral("\u1100x") << QStringLiteral("\u1100x");
    QTest::newRow("lone V") << QStringLiteral("\u1161") << QStringLiteral("\u1161");
    QTest::newRow("old L U+1113") << QStringLiteral("\u1113\u1161")
                                  << QStringLiteral("\u1113\u1161");
    QTest::newRow("old T U+11C3") << QStringLiteral("\u1100\u1161\u11C3")
                                  << QStringLiteral("가\u11C3");
    QTest::newRow("T after LVT") << QStringLiteral("\u1100\u1161\u11A8\u11A8")
                                 << QStringLiteral("각\u11A8");
    QTest::newRow("compatibility jamo untouched")
        << QStringLiteral("ㄱㅏ") << QStringLiteral("ㄱㅏ");
}

void TestHangulNormalization::compose()
{
    QFETCH(QString, decomposed);
    QFETCH(QString, composed);
    QCOMPARE(q(composeHangul(u16(decomposed))), composed);
}

// Every syllable decomposes and composes back, and agrees with Qt's NFD/NFC.
void TestHangulNormalization::decomposeAll()
{
    QString all;
    for (char16_t c = 0xAC00; c <= 0xD7A3; ++c)
        all.append(QChar(c));
    const std::u16string nfd = decomposeHangul(u16(all));
    QCOMPARE(q(nfd), all.normalized(QString::NormalizationForm_D));
    QCOMPARE(q(composeHangul(nfd)), all);
    QCOMPARE(q(decomposeHangul(u"e\u0301 漢")), QStringLiteral("e\u0301 漢"));
}

QTEST_GUILESS_MAIN(TestHangulNormalization)
#include "tst_hangul_normalization.moc"
