#include "app/text_control.h"

TextControl::~TextControl() = default;
