// The screen keyboard's hit table (every key's corners and its surroundings) and
// the caps drawn for it.
#include "ime/screen_keyboard_layout.h"

#include <QRect>
#include <QTest>

namespace {

struct Region
{
    const char *name;
    int left, right, top, bottom;
    int key;
};

// The hit regions, written out independently of the layout's own tables.
const Region regions[] = {
    {"Enter", 552, 608, 41, 116, 10},   {"BS", 572, 608, 0, 37, 8},
    {"Q upper", 62, 98, 40, 58, 'Q'},   {"W upper", 103, 139, 40, 58, 'W'},
    {"E upper", 144, 180, 40, 58, 'E'}, {"R upper", 184, 220, 40, 58, 'R'},
    {"T upper", 225, 261, 40, 58, 'T'}, {"y upper", 266, 302, 40, 58, 'y'},
    {"u upper", 307, 343, 40, 58, 'u'}, {"i upper", 348, 384, 40, 58, 'i'},
    {"O upper", 388, 424, 40, 58, 'O'}, {"P upper", 429, 465, 40, 58, 'P'},
    {"q lower", 62, 98, 59, 76, 'q'},   {"w lower", 103, 139, 59, 76, 'w'},
    {"e lower", 144, 180, 59, 76, 'e'}, {"r lower", 184, 220, 59, 76, 'r'},
    {"t lower", 225, 261, 59, 76, 't'}, {"y lower", 266, 302, 59, 76, 'y'},
    {"u lower", 307, 343, 59, 76, 'u'}, {"i lower", 348, 384, 59, 76, 'i'},
    {"o lower", 388, 424, 59, 76, 'o'}, {"p lower", 429, 465, 59, 76, 'p'},
    {"a", 72, 108, 80, 116, 'a'},       {"s", 112, 148, 80, 116, 's'},
    {"d", 153, 189, 80, 116, 'd'},      {"f", 194, 230, 80, 116, 'f'},
    {"g", 235, 271, 80, 116, 'g'},      {"h", 276, 312, 80, 116, 'h'},
    {"j", 316, 352, 80, 116, 'j'},      {"k", 357, 393, 80, 116, 'k'},
    {"l", 398, 434, 80, 116, 'l'},      {"z", 93, 129, 121, 157, 'z'},
    {"x", 134, 170, 121, 157, 'x'},     {"c", 175, 211, 121, 157, 'c'},
    {"v", 216, 252, 121, 157, 'v'},     {"b", 256, 292, 121, 157, 'b'},
    {"n", 297, 333, 121, 157, 'n'},     {"m", 338, 374, 121, 157, 'm'},
    {"space", 420, 608, 121, 157, ' '},
};

const Region *regionAt(int x, int y)
{
    for (const Region &r : regions)
        if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom)
            return &r;
    return nullptr;
}

QRect capRect(const KeyCap &cap)
{
    return QRect(QPoint(cap.left, cap.top), QPoint(cap.right, cap.bottom));
}

} // namespace

class TestScreenKeyboardLayout : public QObject
{
    Q_OBJECT
private slots:
    void corners_data();
    void corners();
    void everyPixelAgreesWithTable();
    void capsMatchHitRegions();
    void silentCapsTypeNothing();
    void capsInsidePictureWithoutOverlap();
    void capLabels();
};

void TestScreenKeyboardLayout::corners_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("key");
    for (const Region &r : regions) {
        QTest::addRow("%s top-left", r.name) << QPoint(r.left, r.top) << r.key;
        QTest::addRow("%s top-right", r.name) << QPoint(r.right, r.top) << r.key;
        QTest::addRow("%s bottom-left", r.name) << QPoint(r.left, r.bottom) << r.key;
        QTest::addRow("%s bottom-right", r.name) << QPoint(r.right, r.bottom) << r.key;
    }
    QTest::newRow("below BS") << QPoint(590, 38) << 0;
    QTest::newRow("above BS") << QPoint(590, -1) << 0;
    QTest::newRow("left of x 40") << QPoint(39, 100) << 0;
    QTest::newRow("P split, upper") << QPoint(447, 58) << int('P');
    QTest::newRow("P split, lower") << QPoint(447, 59) << int('p');
}

void TestScreenKeyboardLayout::corners()
{
    QFETCH(QPoint, pos);
    QFETCH(int, key);
    QCOMPARE(screenKeyboardKeyAt(pos.x(), pos.y()), key);
}

// Across the whole picture and a margin around it, the layout sends exactly
// what the table says.
void TestScreenKeyboardLayout::everyPixelAgreesWithTable()
{
    for (int y = -3; y < ScreenKeyboardHeight + 3; ++y)
        for (int x = -3; x < ScreenKeyboardWidth + 3; ++x) {
            const Region *r = regionAt(x, y);
            const int expected = r && x >= 40 && y >= 0 ? r->key : 0;
            if (screenKeyboardKeyAt(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
        }
}

// Every key that types something is drawn exactly over its hit region, so what
// the user sees is what the click sends.
void TestScreenKeyboardLayout::capsMatchHitRegions()
{
    int active = 0;
    for (const KeyCap &cap : screenKeyboardCaps()) {
        if (cap.kind == KeyCapKind::Digit || cap.kind == KeyCapKind::Blank)
            continue;
        ++active;
        const Region *tl = regionAt(cap.left, cap.top);
        const Region *br = regionAt(cap.right, cap.bottom);
        QVERIFY(tl && br);
        QCOMPARE(tl->left, cap.left);
        QCOMPARE(tl->top, cap.top);
        QCOMPARE(br->right, cap.right);
        QCOMPARE(br->bottom, cap.bottom);
        if (cap.kind == KeyCapKind::Letter) {
            QCOMPARE(QChar(br->key).toUpper().unicode(), cap.latin); // lower half: plain key
            QCOMPARE(tl->key != br->key, cap.shifted != 0);          // shifted jamo only where sent
            QVERIFY(cap.plain >= 0x3131 && cap.plain <= 0x3163);
        }
    }
    QCOMPARE(active, 26 + 3); // letters, BS, Enter, space
}

void TestScreenKeyboardLayout::silentCapsTypeNothing()
{
    int digits = 0;
    for (const KeyCap &cap : screenKeyboardCaps()) {
        if (cap.kind != KeyCapKind::Digit && cap.kind != KeyCapKind::Blank)
            continue;
        digits += cap.kind == KeyCapKind::Digit;
        for (int y = cap.top; y <= cap.bottom; ++y)
            for (int x = cap.left; x <= cap.right; ++x)
                QCOMPARE(screenKeyboardKeyAt(x, y), 0);
    }
    QCOMPARE(digits, 10);
}

void TestScreenKeyboardLayout::capsInsidePictureWithoutOverlap()
{
    const auto caps = screenKeyboardCaps();
    const QRect picture(0, 0, ScreenKeyboardWidth, ScreenKeyboardHeight);
    for (std::size_t i = 0; i < caps.size(); ++i) {
        QVERIFY(picture.contains(capRect(caps[i])));
        for (std::size_t j = i + 1; j < caps.size(); ++j)
            QVERIFY(!capRect(caps[i]).intersects(capRect(caps[j])));
    }
}

void TestScreenKeyboardLayout::capLabels()
{
    QCOMPARE(keyCapLabel(KeyCapKind::Backspace), QStringLiteral("BS"));
    QCOMPARE(keyCapLabel(KeyCapKind::Enter), QStringLiteral("Enter"));
    QVERIFY(!keyCapLabel(KeyCapKind::Space).isEmpty());
}

QTEST_GUILESS_MAIN(TestScreenKeyboardLayout)
#include "tst_screen_keyboard_layout.moc"
