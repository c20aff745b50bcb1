#include "render/ExampleTextFont.h"

#include <QStringList>

QFont ExampleTextFont()
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    font.setBold(true);
    // A 13-px em gives Arial and its metric twins a 15-px cell with a 12-px ascent.
    font.setPixelSize(13);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
