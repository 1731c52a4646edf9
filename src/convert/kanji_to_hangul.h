// Kanji to Hangul: replaces each ideograph the reading table knows by its
// Sino-Korean reading, one code unit for one code unit.
#pragma once

#include <QString>
#include <QStringView>

class TextControl;

// The reading of `unit` (the alternate one when `type2` and the record has one), or
// `unit` itself when it is not in the table.
char16_t KanjiToHangul(char16_t unit, bool type2);

// `text` with every unit looked up; the length never changes.
QString kanjiTextToHangul(QStringView text, bool type2);

// Converts the control's selection in place. Returns true when the text changed.
bool convertSelectionToHangul(TextControl &control, bool type2);
