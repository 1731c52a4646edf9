// Korean or Japanese: the detection's decisions over a labelled corpus of real
// prose (tools/make_detection_corpus.py cuts it from Debian's Korean and Japanese
// FAQ at lengths from 20 bytes to 100 KB, in every encoding). Samples with at
// least 10 Hangul syllables, or 10 kana and kanji with some kana, must be read
// right; the accuracy of all samples per length and encoding is printed and must
// reach 99 %.
#include "codec/encoding_detect.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestDetectionCorpus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decisions_data();
    void decisions();
    void accuracy();

private:
    struct Tally
    {
        int right = 0;
        int total = 0;
    };
    QTemporaryDir m_dir;
    QList<QStringList> m_rows;
    QMap<QString, QMap<int, Tally>> m_tally; // encoding -> length -> decisions
};

void TestDetectionCorpus::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QProcess python;
    python.start(
        QStringLiteral("python3"),
        {QStringLiteral(TAVRIL_SOURCE_DIR "/tools/make_detection_corpus.py"), m_dir.path()});
    QVERIFY(python.waitForFinished(120000));
    QVERIFY2(python.exitCode() == 0,
             qPrintable(QStringLiteral("the corpus needs debian-faq-ko and debian-faq-ja "
                                       "(tavril.sh installs them): ") +
                        QString::fromLocal8Bit(python.readAllStandardError())));
    QFile manifest(m_dir.filePath(QStringLiteral("manifest.tsv")));
    QVERIFY(manifest.open(QIODevice::ReadOnly));
    while (!manifest.atEnd()) {
        const QString line = QString::fromUtf8(manifest.readLine()).trimmed();
        if (!line.isEmpty())
            m_rows.append(line.split(QLatin1Char('\t')));
    }
    QVERIFY(m_rows.size() > 500);
}

void TestDetectionCorpus::decisions_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("required");
    for (const QStringList &r : std::as_const(m_rows))
        QTest::newRow(qPrintable(r[0]))
            << r[0] << (r[1] + QLatin1Char(' ') + r[2]) << r[3].toInt() << r[7] << (r[8] == u"1");
}

void TestDetectionCorpus::decisions()
{
    QFETCH(QString, file);
    QFETCH(QString, encoding);
    QFETCH(int, length);
    QFETCH(QString, expected);
    QFETCH(bool, required);
    QFile f(m_dir.filePath(file));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const auto span = std::span(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                std::size_t(bytes.size()));
    const EncodingChoice choice = ChooseEncoding(memoryOpener(span));
    const QString label = QString::fromLatin1(EncodingLabel(choice.encoding, choice.bom));
    // The sample tells EUC-KR from CP949 only as far as it reaches; loading decides
    // over the whole file. Korean is right when it is Korean.
    const auto korean = [](const QString &l) { return l == u"EUC-KR" || l == u"CP949"; };
    const bool right = label == expected || (korean(label) && korean(expected));
    Tally &t = m_tally[encoding][length];
    ++t.total;
    t.right += right;
    if (required)
        QCOMPARE(right ? expected : label, expected);
}

void TestDetectionCorpus::accuracy()
{
    int right = 0, total = 0;
    QString table = QStringLiteral("\n%1").arg(QStringLiteral("length"), 8);
    const QStringList encodings = m_tally.keys();
    for (const QString &e : encodings)
        table += QStringLiteral(" %1").arg(e, 16);
    QList<int> lengths = m_tally.first().keys();
    for (const int length : std::as_const(lengths)) {
        table += QStringLiteral("\n%1").arg(length, 8);
        for (const QString &e : encodings) {
            const Tally t = m_tally[e].value(length);
            right += t.right;
            total += t.total;
            table += t.total == 0 ? QStringLiteral(" %1").arg(QString(), 16)
                                  : QStringLiteral(" %1").arg(
                                        QStringLiteral("%1/%2").arg(t.right).arg(t.total), 16);
        }
    }
    qInfo("%s\noverall %d/%d = %.2f %%", qPrintable(table), right, total,
          total ? 100.0 * right / total : 0.0);
    QVERIFY(total > 0);
    QVERIFY2(right * 100 >= total * 99, "below 99 %");
}

QTEST_GUILESS_MAIN(TestDetectionCorpus)
#include "tst_detection_corpus.moc"
