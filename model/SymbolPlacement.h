#pragma once

#include "model/ViraSymbol.h"

#include <QtGlobal>

#include <optional>

/// Where a symbol's parts stand over a grid whose origin is at OriginX, OriginY. Coordinates are
/// 64-bit: 32-bit points added to a grid position can leave the range of int.
struct TSymbolPlacement {
    qint64 PictureLeft = 0;
    qint64 PictureTop = 0;
    /// The text point; the example text's base line lies on it.
    qint64 TextX = 0;
    qint64 TextY = 0;
    /// A plain image shows no example text and no text point.
    bool ShowsText = false;
};

/// A symbol's picture lies with its anchor pixel on the origin and its text point counts from
/// the picture's top left; a plain image ignores its anchor and lies with its corner there.
TSymbolPlacement PlaceSymbol(const TViraSymbol &Symbol, qint64 OriginX, qint64 OriginY);

/// A placed coordinate as a drawing takes it: points are 32-bit, so a picture or a label can be
/// placed far outside any surface; the coordinate is kept well inside int, where nobody can see
/// the difference.
int DrawableCoordinate(qint64 Coordinate);

/// The left edge of something Width wide that stands at X with the alignment Align: "Right"
/// puts it right of X, "Left" left of it. No known alignment gives nothing.
std::optional<qint64> AlignedLeft(TVSTextAlign Align, qint64 X, int Width);
