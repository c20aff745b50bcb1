#include "packing/LibraryCopy.h"

#include "model/ViraSymbol.h"

namespace
{
// Killed runs' copies are found by this purpose (TWorkFolder::RemoveDeadTemporaryFolders).
const QString CopyPurpose = QStringLiteral("library");
} // namespace

TLibraryCopy::TLibraryCopy(TViraGlyphbook &Glyphbook) : FFolder(CopyPurpose)
{
    Glyphbook.SaveToFile(FileName());
}

void TLibraryCopy::Restore(TViraGlyphbook &Glyphbook) const
{
    TViraGlyphbook reloaded;
    reloaded.LoadFromFile(FileName());
    Glyphbook.Symbols = std::move(reloaded.Symbols);
}

QString TLibraryCopy::FileName() const
{
    return FFolder.FilePath(QStringLiteral("library.js"));
}
