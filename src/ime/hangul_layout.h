// The direct mode's other keyboard layouts (the standard two-set, the three-set
// and the old-Hangul layouts), composed by the Hangul input library from its
// keyboard files. The syllable being composed is written into the text as the
// written composer writes: the text always shows it, nothing is held back.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>

class TextControl;

namespace layouts {

// The direct mode's layout choices in menu order. The first, with an empty id,
// is the written two-set layout of our own composer; the others name the input
// library's keyboards.
struct Layout
{
    const char *id;      // the input library's keyboard id; "" for the written layout
    const char *caption; // the menu item's text
    const char *objectName;
};
QList<Layout> allLayouts();
// The layouts that can be chosen here: the written one always, a library layout
// when its keyboard file was found.
QList<Layout> availableLayouts();
bool isAvailable(const QByteArray &id);

// The input library's output made fit for the text: fillers dropped; a syllable
// without an initial or without a vowel written as compatibility jamo (ㅏ, ㄴ)
// where they exist; a full old-Hangul syllable kept as conjoining jamo.
QString textFromLibrary(const std::uint32_t *ucs4);

} // namespace layouts

// One host's composition with a library layout: keeps the input library's
// context and where the open syllable stands in the text. The syllable is open
// while the control's composition span is exactly it; anything that moved the
// caret or changed the text drops that span, which ends the composition without
// changing the text.
class LayoutComposer
{
public:
    LayoutComposer();
    ~LayoutComposer();
    LayoutComposer(const LayoutComposer &) = delete;
    LayoutComposer &operator=(const LayoutComposer &) = delete;

    // A typed key (8-bit code, Backspace 8) on `control` with keyboard `id`;
    // returns the key to let through to the control, or 0 when it was consumed.
    // A space, Enter, Tab or any key the layout does not use ends the syllable
    // and is let through.
    int key(int key, TextControl &control, const QByteArray &id, bool autoReorder);
    // Forgets the open syllable; the text stays as it is.
    void end();
    bool isComposing() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
