#include "app/program_windows.h"

#include "editor/memo_view.h"

ProgramWindows::ProgramWindows(const QStringList &arguments)
    : form1(arguments),
      // The find dialog works on the main window's editor, with its Hanja dictionaries.
      searchform(&form1, &form1.editorContext(), &form1.hanjaDictionaries()),
      // The keymap help, with the editor's font as start-up left it.
      helpform(&form1, form1.Memo1->font()), copyrightform(&form1), exitform(&form1),
      // The Hangul screen keyboard comes last; it writes where the main window says.
      hangulskbform(&form1, form1.inputTarget())
{
    form1.setWindows({&searchform, &helpform, &copyrightform, &exitform, &hangulskbform});
}
