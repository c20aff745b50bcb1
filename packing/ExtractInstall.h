#pragma once

// Putting an extraction's results in place from its work folder, and taking them back: so that
// a failure or a kill at any moment leaves either the earlier files or the new ones, whole.

#include "packing/GlyphbookExtract.h"
#include "packing/WorkFolder.h"

#include <QString>

/// Where an extraction's results wait in its work folder: the new library folder and document,
/// and the earlier library folder once it has been moved aside.
struct TExtractWork {
    QString NewFolder;
    QString NewDocument;
    QString Former;

    explicit TExtractWork(const QString &Work);
};

/// Puts the complete results of Work in place: the earlier library folder aside, the new one in
/// its place, the new document over the earlier one; then removes a leftover intermediate tar.
/// Notes in Work that it is installing, so that the next extraction finishes a killed run
/// (SettleKilledExtraction). When a step fails, everything is put back as it was and the error
/// raised; should the earlier library folder not go back, Work is kept with it and the message
/// names it.
void InstallExtraction(TWorkFolder &Work, const TExtractTarget &Target,
                       const TPackCallbacks &Callbacks);

/// Settles the work folder Work of a killed extraction into Target: complete results are put in
/// place, partial ones dropped. True when the folder may go; false when it must stay: a kept
/// folder, one that holds the only copy of the earlier library folder, or another archive's.
bool SettleKilledExtraction(const QString &Work, const TExtractTarget &Target);
