#include "convert/kanji_to_hangul.h"

#include "convert/hanja_table.h"
#include "document/text_control.h"

char16_t KanjiToHangul(char16_t unit, bool type2)
{
    std::ptrdiff_t lo = 0;
    std::ptrdiff_t hi = std::ptrdiff_t(HanjaReadingCount) - 1;
    while (hi >= lo) {
        const std::ptrdiff_t mid = (lo + hi) / 2;
        const HanjaReading &record = HanjaReadingTable[mid];
        if (record.ideograph == unit) {
            // The alternate is chosen by its presence alone, not by the count.
            return type2 && record.secondReading != 0 ? record.secondReading : record.firstReading;
        }
        if (record.ideograph < unit)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return unit;
}

QString kanjiTextToHangul(QStringView text, bool type2)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (const QChar c : text)
        *out++ = QChar(KanjiToHangul(c.unicode(), type2));
    return result;
}

bool convertSelectionToHangul(TextControl &control, bool type2)
{
    const QString selected = control.selText();
    const QString converted = kanjiTextToHangul(selected, type2);
    control.replaceSelection(converted);
    return converted != selected;
}
