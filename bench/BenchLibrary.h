#pragma once

// The library the document benchmarks measure: 20,000 symbols with two names and three state
// images each, image paths as a Windows project has them (a 12.9 MiB document).

#include "model/ViraSymbol.h"

#include <QString>

#include <memory>

inline TViraGlyphbook BenchLibrary(int Count = 20000)
{
    static const char *const kinds[] = {"valve", "pump", "motor", "tank", "fan", "sensor"};
    TViraGlyphbook book;
    for (int i = 0; i < Count; ++i) {
        auto symbol = std::make_shared<TViraSymbol>();
        const QString kind = QLatin1String(kinds[i % 6]);
        const QString number = QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0'));
        const QString folder =
            QStringLiteral("C:\\Projects\\Water Plant\\Graphics\\%1\\").arg(kind);
        symbol->Identifier = kind + u'_' + number;
        symbol->Image = folder + kind + u'_' + number + QStringLiteral(".png");
        symbol->Symbol = true;
        symbol->ImageX = 16 + i % 32;
        symbol->ImageY = 24 + i % 17;
        symbol->TextX = -(i % 40);
        symbol->TextY = 48;
        symbol->TextAlign = TVSTextAlign(i % 3);
        symbol->Names = {{QStringLiteral("en"), kind + QStringLiteral(" no. ") + number},
                         {QStringLiteral("sv"), kind + QStringLiteral(" nr ") + number}};
        symbol->StateImages = {
            {QStringLiteral("1"), folder + kind + u'_' + number + QStringLiteral("_run.png")},
            {QStringLiteral("Alarm"), folder + kind + u'_' + number + QStringLiteral("_alarm.gif")},
            {QStringLiteral("MO"), folder + kind + u'_' + number + QStringLiteral("_manual.png")}};
        book.Symbols.append(symbol);
    }
    return book;
}
