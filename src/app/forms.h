// The program's windows, created once by the program entry in this order and
// living until the program ends (the accent pads are created on first use).
#pragma once

class TForm1;
class Tsearchform;
class Thelpform;
class Tcopyrightform;
class Texitform;
class Thangulskbform;
class Taccentform;
class Taccent2form;

extern TForm1 *Form1;
extern Tsearchform *searchform;
extern Thelpform *helpform;
extern Tcopyrightform *copyrightform;
extern Texitform *exitform;
extern Thangulskbform *hangulskbform;
extern Taccentform *accentform;
extern Taccent2form *accent2form;
