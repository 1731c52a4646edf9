#include "ime/composer_p.h"

#include "app/text_control.h"
#include "ime/hangul.h"

namespace composer {

namespace {

// The multi-line host reads and replaces the previous character through a one-unit
// selection; a line break that the control reports as wider is never taken apart.
// Selects the one unit before the caret and returns the length the control reports.
qsizetype selectPrevious(TextControl &control, qsizetype caret)
{
    control.setSelStart(caret - 1);
    control.setSelLength(1);
    return control.selLength();
}

void deletePrevious(TextControl &control, const Context &ctx)
{
    if (ctx.caret <= 0)
        return;
    control.setSelStart(ctx.caret - 1);
    control.setSelLength(1);
    control.replaceSelection(QStringView());
}

} // namespace

Context readContext(TextControl &control, Scheme scheme)
{
    Context ctx;
    if (control.isSingleLine()) {
        control.setSelLength(0);
        ctx.caret = control.selStart();
        ctx.textLength = control.length();
        if (ctx.textLength > 0 && ctx.caret > 0) {
            ctx.prev = control.charAt(ctx.caret - 1);
            ctx.hasPrev = true;
        }
    } else {
        if (scheme == Scheme::Direct) {
            ctx.caret = control.selStart() + control.selLength();
        } else {
            control.setSelLength(0);
            ctx.caret = control.selStart();
        }
        ctx.textLength = control.length();
        if (ctx.textLength > 0 && ctx.caret > 0 && selectPrevious(control, ctx.caret) > 0) {
            ctx.prev = control.charAt(ctx.caret - 1);
            ctx.hasPrev = true;
        }
        control.setSelStart(ctx.caret);
    }
    if (ctx.hasPrev && hangul::isSyllable(ctx.prev)) {
        ctx.prevIsSyllable = true;
        ctx.finalIndex = hangul::finalOf(ctx.prev);
        ctx.medial = hangul::medialOf(ctx.prev);
    }
    return ctx;
}

void replacePrevious(TextControl &control, const Context &ctx, char16_t c)
{
    const QChar ch(c);
    if (control.isSingleLine()) {
        control.setSelStart(ctx.caret - 1);
        control.setSelLength(1);
    } else if (selectPrevious(control, ctx.caret) != 1) {
        control.setSelStart(ctx.caret);
    }
    control.replaceSelection(QStringView(&ch, 1));
}

void insertAtCaret(TextControl &control, const Context &ctx, char16_t c)
{
    const QChar ch(c);
    control.setSelStart(ctx.caret);
    control.replaceSelection(QStringView(&ch, 1));
}

int decide(const Context &ctx, int &decideFlag)
{
    if (ctx.textLength < 1) {
        decideFlag = 0;
        return KeySpace;
    }
    if (decideFlag == 1) {
        decideFlag = 0;
        return KeySpace;
    }
    decideFlag = 1;
    return 0;
}

BackspaceResult backspace(TextControl &control, const Context &ctx, bool selfDelete)
{
    // What the control would do with a Backspace let through.
    const auto deleteAsControl = [&]() {
        if (!selfDelete)
            return KeyBackspace;
        deletePrevious(control, ctx);
        return 0;
    };

    if (ctx.textLength < 1)
        return {0, true};
    if (!ctx.prevIsSyllable) {
        if (ctx.hasPrev) {
            if (const auto first = hangul::firstComponentOfJamo(ctx.prev)) {
                replacePrevious(control, ctx, *first);
                return {0, false};
            }
        }
        return {deleteAsControl(), true};
    }
    if (ctx.finalIndex > 0) {
        const int reduced = hangul::reducedFinal(ctx.finalIndex);
        replacePrevious(control, ctx, char16_t(ctx.prev - ctx.finalIndex + reduced));
        return {0, true};
    }
    if (ctx.prev >= hangul::SilentBase && ctx.prev <= hangul::SilentLast)
        return {deleteAsControl(), false};
    replacePrevious(control, ctx, hangul::initialJamo(hangul::initialOf(ctx.prev)));
    return {0, false};
}

} // namespace composer
