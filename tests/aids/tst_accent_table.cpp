// The accent pads' character grid, the image pad's cell boundaries and the
// insertion of a pad character into a text control.
#include "aids/accent_insert.h"
#include "aids/accent_table.h"
#include "document/memory_text_control.h"

#include <QSet>
#include <QTest>

namespace {

// The grid as a user sees it, one string per row (combining marks escaped), and
// the button names row by row.
const char16_t *const expectedRows[AccentRows] = {
    u"äïüëöÄÏÜËÖßʔʤƐ",      u"áíúéóÁÍÚÉÓɛʊðƹ",      u"àìùèòÀÌÙÈÒəːχθ",      u"âîûêôÂÎÛÊÔɯʷʎ\u0301",
    u"āīūēōĀĪŪĒŌɔʰβ\u0300", u"ǎǐǔěǒǍǏǓĚǑŋˑᴧ\u0302", u"æœçÆŒÇñÑ¿¡ɲʧᴣ\u030C", u"ĉĝĥĵŝŭĈĜĤĴŜŬƷ\u0304",
};
const char *const expectedNames[AccentRows][AccentColumns] = {
    {"ButtonAc0", "ButtonIc0", "ButtonUc0", "ButtonEc0", "ButtonOc0", "ButtonA0", "ButtonI0",
     "ButtonU0", "ButtonE0", "ButtonO0", "ButtonSs", "ButtonSeimon", "ButtonD3s", "ButtonEEd"},
    {"ButtonAc2", "ButtonIc2", "ButtonUc2", "ButtonEc2", "ButtonOc2", "ButtonA2", "ButtonI2",
     "ButtonU2", "ButtonE2", "ButtonO2", "ButtonEEE", "ButtonOu", "ButtonDd", "ButtonZ3cg"},
    {"ButtonAc4", "ButtonIc4", "ButtonUc4", "ButtonEc4", "ButtonOc4", "ButtonA4", "ButtonI4",
     "ButtonU4", "ButtonE4", "ButtonO4", "ButtonEr", "ButtonChou", "ButtonXs", "ButtonSt"},
    {"ButtonAc5", "ButtonIc5", "ButtonUc5", "ButtonEc5", "ButtonOc5", "ButtonA5", "ButtonI5",
     "ButtonU5", "ButtonE5", "ButtonO5", "ButtonUu", "ButtonWu", "ButtonYg", "ButtonX301"},
    {"ButtonAc1", "ButtonIc1", "ButtonUc1", "ButtonEc1", "ButtonOc1", "ButtonA1", "ButtonI1",
     "ButtonU1", "ButtonE1", "ButtonO1", "ButtonOo", "ButtonHu", "ButtonBeta", "ButtonX300"},
    {"ButtonAc3", "ButtonIc3", "ButtonUc3", "ButtonEc3", "ButtonOc3", "ButtonA3", "ButtonI3",
     "ButtonU3", "ButtonE3", "ButtonO3", "ButtonNg", "ButtonTenu", "ButtonAh", "ButtonX302"},
    {"ButtonAec", "ButtonOec", "ButtonCdc", "ButtonAE", "ButtonOE", "ButtonCd", "ButtonNnc",
     "ButtonNn", "ButtonHatenag", "ButtonBikkurig", "ButtonNy", "ButtonTf", "ButtonZ33",
     "ButtonX30c"},
    {"ButtonCc5", "Buttongc5", "ButtonHc5", "ButtonJc5", "ButtonSc5", "ButtonUc6", "ButtonC5",
     "ButtonG5", "ButtonH5", "ButtonJ5", "ButtonS5", "ButtonU6", "ButtonZ3dd", "ButtonX304"},
};

// Inclusive pixel range of a column or row; the outer ones reach past the picture.
QPair<int, int> columnRange(int c)
{
    return c == 0 ? qMakePair(-40, 26) : qMakePair(28 * c - 1, 28 * c + 26);
}
QPair<int, int> rowRange(int r)
{
    if (r == 0)
        return {-40, 25};
    if (r == 7)
        return {196, 1000};
    return {28 * r, 28 * r + 25};
}

} // namespace

class TestAccentTable : public QObject
{
    Q_OBJECT
private slots:
    void everyCell_data();
    void everyCell();
    void unexpectedCodePoints_data();
    void unexpectedCodePoints();
    void namesUnique();
    void captionShowsMarksOnDottedCircle();
    void imageCellCorners_data();
    void imageCellCorners();
    void imageListedPositions_data();
    void imageListedPositions();
    void imageDeadBandsEverywhere();
    void insertion_data();
    void insertion();
    void combiningMarksStaySingle();
};

void TestAccentTable::everyCell_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    for (int r = 0; r < AccentRows; ++r) {
        const QString chars = QString::fromUtf16(expectedRows[r]);
        QCOMPARE(chars.size(), AccentColumns);
        for (int c = 0; c < AccentColumns; ++c)
            QTest::addRow("%s", expectedNames[r][c])
                << r << c << int(chars.at(c).unicode()) << QString::fromLatin1(expectedNames[r][c]);
    }
}

void TestAccentTable::everyCell()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, code);
    QFETCH(QString, name);
    QCOMPARE(int(accentCells[row][column].code), code);
    QCOMPARE(QString::fromLatin1(accentCells[row][column].name), name);
}

void TestAccentTable::unexpectedCodePoints_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("code");
    QTest::newRow("turned v, not U+028C") << 5 << 12 << 0x1D27;
    QTest::newRow("small ezh variant, not U+0292") << 6 << 12 << 0x1D23;
    QTest::newRow("capital open e") << 0 << 13 << 0x0190;
    QTest::newRow("reversed ezh") << 1 << 13 << 0x01B9;
    QTest::newRow("capital ezh") << 7 << 12 << 0x01B7;
}

void TestAccentTable::unexpectedCodePoints()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, code);
    QCOMPARE(int(accentCells[row][column].code), code);
}

void TestAccentTable::namesUnique()
{
    QSet<QByteArray> names;
    QSet<char16_t> codes;
    for (const auto &row : accentCells)
        for (const AccentCell &cell : row) {
            names.insert(cell.name);
            codes.insert(cell.code);
        }
    QCOMPARE(names.size(), 112);
    QCOMPARE(codes.size(), 112);
}

void TestAccentTable::captionShowsMarksOnDottedCircle()
{
    int marks = 0;
    for (const auto &row : accentCells)
        for (const AccentCell &cell : row) {
            const QString caption = accentCaption(cell.code);
            if (isCombiningMark(cell.code)) {
                ++marks;
                QCOMPARE(caption, QString(QChar(0x25CC)) + QChar(cell.code));
            } else {
                QCOMPARE(caption, QString(QChar(cell.code)));
            }
        }
    QCOMPARE(marks, 5);
}

void TestAccentTable::imageCellCorners_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    for (int r = 0; r < AccentRows; ++r)
        for (int c = 0; c < AccentColumns; ++c)
            QTest::addRow("r%dc%d", r, c) << r << c;
}

// Each corner of each cell selects that cell; one pixel past a row edge is a
// dead band (or the next row at the picture's edges), past a column edge the
// neighbouring column or nothing right of column 13.
void TestAccentTable::imageCellCorners()
{
    QFETCH(int, row);
    QFETCH(int, column);
    const auto [x0, x1] = columnRange(column);
    const auto [y0, y1] = rowRange(row);
    const char16_t code = accentCells[row][column].code;
    for (int x : {x0, x1})
        for (int y : {y0, y1}) {
            QCOMPARE(accentImageRow(y), row);
            QCOMPARE(accentImageColumn(x), column);
            QCOMPARE(int(accentImageCodeAt(x, y)), int(code));
        }
    if (row > 0)
        QCOMPARE(int(accentImageCodeAt(x0, y0 - 1)), 0);
    if (row < 7)
        QCOMPARE(int(accentImageCodeAt(x0, y1 + 1)), 0);
    if (column > 0)
        QCOMPARE(accentImageColumn(x0 - 1), column - 1);
    QCOMPARE(accentImageColumn(x1 + 1), column < 13 ? column + 1 : -1);
}

void TestAccentTable::imageListedPositions_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("code");
    QTest::newRow("origin") << QPoint(0, 0) << 0x00E4;
    QTest::newRow("bottom-right corner") << QPoint(390, 224) << 0x0304;
    QTest::newRow("right of the grid") << QPoint(391, 10) << 0;
    QTest::newRow("far right") << QPoint(5000, 100) << 0;
    QTest::newRow("band y=26") << QPoint(10, 26) << 0;
    QTest::newRow("band y=27") << QPoint(10, 27) << 0;
    QTest::newRow("x=27 is column 1") << QPoint(27, 10) << 0x00EF;
    QTest::newRow("x=27 row 3") << QPoint(27, 84) << 0x00EE;
    QTest::newRow("left of the picture") << QPoint(-3, 30) << 0x00E1;
    QTest::newRow("above the picture") << QPoint(30, -3) << 0x00EF;
    QTest::newRow("below the picture") << QPoint(364, 400) << 0x0304;
    QTest::newRow("y=196 row 7") << QPoint(0, 196) << 0x0109;
    QTest::newRow("y=193 row 6") << QPoint(0, 193) << 0x00E6;
}

void TestAccentTable::imageListedPositions()
{
    QFETCH(QPoint, pos);
    QFETCH(int, code);
    QCOMPARE(int(accentImageCodeAt(pos.x(), pos.y())), code);
}

void TestAccentTable::imageDeadBandsEverywhere()
{
    const int bands[] = {26, 27, 54, 55, 82, 83, 110, 111, 138, 139, 166, 167, 194, 195};
    for (int y : bands)
        for (int x = -2; x <= 395; ++x)
            QCOMPARE(int(accentImageCodeAt(x, y)), 0);
    // No dead band between columns: every x up to 390 hits a column.
    for (int x = -2; x <= 390; ++x)
        QVERIFY(accentImageColumn(x) >= 0);
}

void TestAccentTable::insertion_data()
{
    QTest::addColumn<bool>("singleLine");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    QTest::newRow("empty") << false << QString() << 0 << 0 << 0x00E4 << QStringLiteral("ä") << 1;
    QTest::newRow("middle") << false << QStringLiteral("ab") << 1 << 0 << 0x00DF
                            << QStringLiteral("aßb") << 2;
    QTest::newRow("selection replaced")
        << false << QStringLiteral("hello") << 1 << 3 << 0x0153 << QStringLiteral("hœo") << 2;
    QTest::newRow("whole text replaced")
        << false << QStringLiteral("x\ny") << 0 << 3 << 0x03B8 << QStringLiteral("θ") << 1;
    QTest::newRow("after a line break")
        << false << QStringLiteral("x\n") << 2 << 0 << 0x01B7 << QStringLiteral("x\nƷ") << 3;
    QTest::newRow("edit line selection")
        << true << QStringLiteral("abc") << 0 << 2 << 0x00BF << QStringLiteral("¿c") << 1;
    QTest::newRow("edit line end")
        << true << QStringLiteral("abc") << 3 << 0 << 0x1D23 << QStringLiteral("abcᴣ") << 4;
}

void TestAccentTable::insertion()
{
    QFETCH(bool, singleLine);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(int, code);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    MemoryTextControl control(singleLine);
    control.setText(text);
    control.select(selStart, selLength);
    insertPadCharacterInto(control, char16_t(code));
    QCOMPARE(control.text(), expected);
    QCOMPARE(control.selStart(), qsizetype(caret));
    QCOMPARE(control.selLength(), qsizetype(0));
}

void TestAccentTable::combiningMarksStaySingle()
{
    for (char16_t mark : {u'\u0300', u'\u0301', u'\u0302', u'\u0304', u'\u030C'}) {
        MemoryTextControl control;
        control.setText(u"e");
        control.select(1, 0);
        insertPadCharacterInto(control, mark);
        QCOMPARE(control.text(), QStringLiteral("e") + QChar(mark)); // never precomposed
        QCOMPARE(control.selStart(), qsizetype(2));
    }
}

QTEST_GUILESS_MAIN(TestAccentTable)
#include "tst_accent_table.moc"
