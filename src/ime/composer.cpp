#include "ime/composer_p.h"

#include "document/text_control.h"
#include "ime/hangul.h"
#include "ime/hangul_layout.h"
#include "ime/input_options.h"
#include "settings/app_state.h"

namespace composer {

namespace {

void deletePrevious(TextControl &control, const Context &ctx)
{
    if (ctx.caret <= 0)
        return;
    control.replaceRange(ctx.caret - 1, 1, QStringView());
}

} // namespace

Context readContext(TextControl &control, Scheme scheme)
{
    Context ctx;
    const qsizetype start = control.selStart();
    const qsizetype length = control.selLength();
    // The direct scheme writes at the end of a selection; the romanized scheme, and
    // any scheme in a single-line control, at its start. The selected text stays.
    ctx.caret = scheme == Scheme::Direct && !control.isSingleLine() ? start + length : start;
    // Every selection change costs the editor a caret update, so the caret is only
    // set when a selection has to be collapsed.
    if (length != 0)
        control.setSelStart(ctx.caret);
    ctx.textLength = control.length();
    if (ctx.textLength > 0 && ctx.caret > 0) {
        ctx.prev = control.charAt(ctx.caret - 1);
        ctx.hasPrev = true;
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
    // Only a syllable or a jamo is ever replaced, never a line break, so the one unit
    // before the caret is always exactly that character, whatever width the control
    // gives a line break.
    const QChar ch(c);
    control.replaceRange(ctx.caret - 1, 1, QStringView(&ch, 1));
}

void insertAtCaret(TextControl &control, const Context &ctx, char16_t c)
{
    const QChar ch(c);
    control.replaceRange(ctx.caret, 0, QStringView(&ch, 1));
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

namespace {

// After a key of a written scheme: what it wrote before the caret is open (the
// next key may change it); a space taken as decide ends it. A key let through
// is typed by the control, which drops the composition itself.
void markWrittenComposition(int key, int result, TextControl &control, bool prefixKey)
{
    if (result != 0 || prefixKey)
        return;
    const qsizetype caret = control.selStart();
    const char16_t before = control.charBefore(caret);
    if (key != KeySpace && (hangul::isSyllable(before) || hangul::isListedJamo(before)))
        control.setComposition({caret - 1, 1});
    else
        control.endComposition();
}

} // namespace

int composeKeyInMode(int mode, int key, TextControl &control, ComposerState &state)
{
    switch (mode) {
    case ImeDirect: {
        const InputOptions &options = inputOptionsOrDefaults(state.options);
        if (!options.directLayout.isEmpty() && layouts::isAvailable(options.directLayout)) {
            if (!state.layout)
                state.layout = std::make_shared<LayoutComposer>();
            return state.layout->key(key, control, options.directLayout, options.autoReorder);
        }
        const int result = ComposeDirectKey(key, control, state, false);
        markWrittenComposition(key, result, control, false);
        return result;
    }
    case ImeRomanized: {
        const int result = ComposeRomanizedKey(key, control, state);
        markWrittenComposition(key, result, control, key == 'y' || key == 'w' || key == 'W');
        return result;
    }
    default:
        return key;
    }
}
