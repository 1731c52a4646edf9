#include "ime/hangul_layout.h"

#include "document/text_control.h"
#include "ime/composer.h"

#include <hangul.h>

#include <algorithm>

namespace layouts {

namespace {

// Captions are translated where the menu shows them (context "HangulLayout").
constexpr Layout AllLayouts[] = {
    {"", QT_TRANSLATE_NOOP("HangulLayout", "Dubeolsik"), "layoutWritten1"},
    {"2", QT_TRANSLATE_NOOP("HangulLayout", "Dubeolsik (standard)"), "layout2"},
    {"39", QT_TRANSLATE_NOOP("HangulLayout", "Sebeolsik 390"), "layout39"},
    {"3f", QT_TRANSLATE_NOOP("HangulLayout", "Sebeolsik Final"), "layout3f"},
    {"3s", QT_TRANSLATE_NOOP("HangulLayout", "Sebeolsik Noshift"), "layout3s"},
    {"32", QT_TRANSLATE_NOOP("HangulLayout", "Sebeolsik Dubeol Layout"), "layout32"},
    {"2y", QT_TRANSLATE_NOOP("HangulLayout", "Dubeolsik Yetgeul"), "layout2y"},
    {"3y", QT_TRANSLATE_NOOP("HangulLayout", "Sebeolsik Yetgeul"), "layout3y"},
    {"ahn", QT_TRANSLATE_NOOP("HangulLayout", "Ahnmatae"), "layoutAhn"},
};

constexpr ucschar ChoseongFiller = 0x115F;
constexpr ucschar JungseongFiller = 0x1160;

// The input library reads its keyboard files once, on first use.
bool libraryReady()
{
    static const bool ready = hangul_init() == 0;
    return ready;
}

void appendUcs4(QString &out, ucschar c)
{
    const char32_t one[1] = {char32_t(c)};
    out.append(QString::fromUcs4(one, 1));
}

// One syllable of conjoining jamo: initials, vowels, finals, fillers included.
void appendSyllable(QString &out, const ucschar *begin, const ucschar *end)
{
    bool hasInitial = false, hasVowel = false;
    qsizetype jamo = 0;
    for (const ucschar *c = begin; c != end; ++c) {
        if (*c == ChoseongFiller || *c == JungseongFiller)
            continue;
        ++jamo;
        hasInitial = hasInitial || hangul_is_choseong(*c);
        hasVowel = hasVowel || hangul_is_jungseong(*c);
    }
    if (jamo == 0)
        return;
    if (hasInitial && hasVowel) {
        // A syllable that has a precomposed form is given in it by the library;
        // an old-Hangul one stays conjoining jamo, which fonts draw as one.
        for (const ucschar *c = begin; c != end; ++c) {
            if (*c != ChoseongFiller && *c != JungseongFiller)
                appendUcs4(out, *c);
        }
        return;
    }
    for (const ucschar *c = begin; c != end; ++c) {
        if (*c == ChoseongFiller || *c == JungseongFiller)
            continue;
        const ucschar compatibility = hangul_jamo_to_cjamo(*c);
        appendUcs4(out, compatibility != 0 ? compatibility : *c);
    }
}

} // namespace

QList<Layout> allLayouts()
{
    return QList<Layout>(std::begin(AllLayouts), std::end(AllLayouts));
}

bool isAvailable(const QByteArray &id)
{
    if (id.isEmpty())
        return true;
    const bool offered = std::any_of(std::begin(AllLayouts), std::end(AllLayouts),
                                     [&](const Layout &layout) { return id == layout.id; });
    return offered && libraryReady() &&
           hangul_keyboard_list_get_keyboard(id.constData()) != nullptr;
}

QList<Layout> availableLayouts()
{
    QList<Layout> result;
    for (const Layout &layout : AllLayouts) {
        if (isAvailable(QByteArray(layout.id)))
            result.append(layout);
    }
    return result;
}

QString textFromLibrary(const std::uint32_t *ucs4)
{
    QString out;
    if (!ucs4)
        return out;
    const ucschar *c = ucs4;
    while (*c) {
        if (!hangul_is_jamo(*c)) {
            appendUcs4(out, *c++);
            continue;
        }
        // A syllable is initials, then vowels, then finals.
        const ucschar *start = c;
        while (*c && hangul_is_choseong(*c))
            ++c;
        while (*c && hangul_is_jungseong(*c))
            ++c;
        while (*c && hangul_is_jongseong(*c))
            ++c;
        if (c == start) // a jamo out of that order stands alone
            ++c;
        appendSyllable(out, start, c);
    }
    return out;
}

} // namespace layouts

struct LayoutComposer::Impl
{
    HangulInputContext *ic = nullptr;
    QByteArray keyboard;
    // Where the open syllable was written, and as what.
    qsizetype pos = 0;
    QString written;

    ~Impl()
    {
        if (ic)
            hangul_ic_delete(ic);
    }
};

LayoutComposer::LayoutComposer() : d(std::make_unique<Impl>()) {}

LayoutComposer::~LayoutComposer() = default;

void LayoutComposer::end()
{
    if (d->ic)
        hangul_ic_reset(d->ic);
    d->written.clear();
}

bool LayoutComposer::isComposing() const
{
    return !d->written.isEmpty();
}

int LayoutComposer::key(int key, TextControl &control, const QByteArray &id, bool autoReorder)
{
    if (!layouts::libraryReady() || id.isEmpty())
        return key;
    if (control.isReadOnly()) {
        // Nothing would be written: the syllable must not be believed in the text.
        end();
        return key;
    }
    if (!d->ic) {
        d->ic = hangul_ic_new(id.constData());
        d->keyboard = id;
    } else if (d->keyboard != id) {
        end();
        hangul_ic_select_keyboard(d->ic, id.constData());
        d->keyboard = id;
    }
    hangul_ic_set_option(d->ic, HANGUL_IC_OPTION_AUTO_REORDER, autoReorder);

    // Typing goes to the end of a selection in the editor, to its start in an
    // edit line; the selected text stays, as with the written layout.
    const qsizetype start = control.selStart();
    const qsizetype selected = control.selLength();
    const qsizetype caret = selected > 0 && !control.isSingleLine() ? start + selected : start;
    if (selected > 0)
        control.setSelStart(caret);

    // The syllable is still open only when nothing moved the caret or changed the
    // text since it was written.
    const TextControl::Span open{d->pos, d->written.size()};
    if (d->written.isEmpty() || control.composition() != open ||
        caret != d->pos + d->written.size())
        end();

    bool handled;
    if (key == KeyBackspace) {
        if (d->written.isEmpty())
            return key; // nothing open: the control deletes as usual
        handled = hangul_ic_backspace(d->ic);
    } else if (key > 0x20 && key < 0x7F) {
        handled = hangul_ic_process(d->ic, key);
    } else {
        // A space, Enter, Tab or a character outside the layout: the syllable is
        // decided as it stands and the key is typed.
        end();
        control.endComposition();
        return key;
    }
    if (d->written.isEmpty())
        d->pos = caret;

    const QString committed = layouts::textFromLibrary(hangul_ic_get_commit_string(d->ic));
    const QString preedit = layouts::textFromLibrary(hangul_ic_get_preedit_string(d->ic));
    const QString now = committed + preedit;
    // Only what changed is rewritten: one edit, the caret behind it.
    qsizetype same = 0;
    const qsizetype common = std::min(now.size(), d->written.size());
    while (same < common && now.at(same) == d->written.at(same))
        ++same;
    if (same < d->written.size() || same < now.size())
        control.replaceRange(d->pos + same, d->written.size() - same, QStringView(now).mid(same));
    d->pos += committed.size();
    d->written = preedit;
    if (preedit.isEmpty()) {
        hangul_ic_reset(d->ic);
        control.endComposition();
    } else {
        control.setComposition({d->pos, preedit.size()});
    }
    if (!handled) {
        // The layout does not use the key: typed after the decided syllable.
        end();
        return key;
    }
    return 0;
}
