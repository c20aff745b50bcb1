// The packing and extraction commands of the File menu.
#include "ui/MainGlyphbook.h"

void TMainForm::miPackLibClick()
{
    // Pack Glyphbook plugs in here.
}

void TMainForm::miOpenLibClick()
{
    // Extract Glyphbook plugs in here.
}
