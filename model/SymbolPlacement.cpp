#include "model/SymbolPlacement.h"

#include <algorithm>

TSymbolPlacement PlaceSymbol(const TViraSymbol &Symbol, qint64 OriginX, qint64 OriginY)
{
    TSymbolPlacement placement;
    placement.PictureLeft = OriginX;
    placement.PictureTop = OriginY;
    if (Symbol.Symbol) {
        placement.PictureLeft -= Symbol.ImageX;
        placement.PictureTop -= Symbol.ImageY;
    }
    placement.TextX = placement.PictureLeft + Symbol.TextX;
    placement.TextY = placement.PictureTop + Symbol.TextY;
    placement.ShowsText = Symbol.Symbol;
    return placement;
}

int DrawableCoordinate(qint64 Coordinate)
{
    constexpr qint64 farAway = 1000000;
    return int(std::clamp(Coordinate, -farAway, farAway));
}

std::optional<qint64> AlignedLeft(TVSTextAlign Align, qint64 X, int Width)
{
    switch (Align) {
    case vstaRight:
        return X;
    case vstaCenter:
        return X - Width / 2;
    case vstaLeft:
        return X - Width;
    }
    return std::nullopt;
}
