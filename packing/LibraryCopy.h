#pragma once

#include "packing/WorkFolder.h"

#include <QString>

class TViraGlyphbook;

/// The library saved to a private temporary copy, for work that borrows the library and may
/// change or replace its symbols; Restore brings back what the copy keeps. The copy goes with
/// this object, and a killed run's copy with the next run's clean-up.
class TLibraryCopy
{
public:
    /// Saves Glyphbook; raises EGlyphbookError when no copy can be made.
    explicit TLibraryCopy(TViraGlyphbook &Glyphbook);

    /// Replaces the symbols of Glyphbook by those of the copy, as new objects. Glyphbook is only
    /// touched once the copy has loaded completely.
    void Restore(TViraGlyphbook &Glyphbook) const;

private:
    QString FileName() const;

    TWorkFolder FFolder;
};
