#include "app/forms.h"

TForm1 *Form1 = nullptr;
Tsearchform *searchform = nullptr;
Thelpform *helpform = nullptr;
Tcopyrightform *copyrightform = nullptr;
Texitform *exitform = nullptr;
Thangulskbform *hangulskbform = nullptr;
Taccentform *accentform = nullptr;
Taccent2form *accent2form = nullptr;
