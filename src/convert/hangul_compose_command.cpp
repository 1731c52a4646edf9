#include "convert/hangul_compose_command.h"

#include "convert/hangul_normalization.h"
#include "document/text_control.h"

#include <QString>

bool normalizeHangulIn(TextControl &control, bool compose)
{
    if (control.isReadOnly() || !control.isEnabled())
        return false;
    const bool selection = control.selLength() > 0;
    const qsizetype start = selection ? control.selStart() : 0;
    const QString before = selection ? control.selText() : control.text();
    const std::u16string_view in(reinterpret_cast<const char16_t *>(before.utf16()),
                                 std::size_t(before.size()));
    const std::u16string out = compose ? composeHangul(in) : decomposeHangul(in);
    if (out == in)
        return false;
    // Only the span from the first to the last change is replaced.
    std::size_t head = 0;
    while (head < in.size() && head < out.size() && in[head] == out[head])
        ++head;
    std::size_t tail = 0;
    while (tail < in.size() - head && tail < out.size() - head &&
           in[in.size() - 1 - tail] == out[out.size() - 1 - tail])
        ++tail;
    const QStringView replacement(out.data() + head, qsizetype(out.size() - head - tail));
    control.replaceRange(start + qsizetype(head), qsizetype(in.size() - head - tail), replacement);
    if (selection) {
        control.setSelStart(start);
        control.setSelLength(qsizetype(out.size()));
    } else {
        control.setSelStart(qsizetype(head));
    }
    return true;
}
