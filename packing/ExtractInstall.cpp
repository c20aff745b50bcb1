#include "packing/ExtractInstall.h"

#include "model/GlyphbookError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace
{

// The steps an extraction notes in its work folder.
const QString StepInstalling = QStringLiteral("installing"); // results complete: finish them
const QString StepKept = QStringLiteral("kept"); // holds the user's earlier files: never touched

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

void moveOrRaise(const QString &From, const QString &To, const TPackCallbacks &Callbacks,
                 const QString &Failure)
{
    if (Callbacks.BeforeRename)
        Callbacks.BeforeRename(From, To);
    if (!MoveFileOrFolder(From, To))
        throw EFileError(Failure);
}

/// Takes every step of putting the complete results of the work folder Work in place that is
/// not yet taken: the earlier library folder aside, the new one in its place, the new document
/// over the earlier one. The earlier library folder stays in the work folder.
void moveIntoPlace(const QString &Work, const TExtractTarget &Target,
                   const TPackCallbacks &Callbacks)
{
    const TExtractWork parts(Work);
    const QString folder = native(Target.LibraryFolder);
    if (QFileInfo::exists(parts.NewFolder)) {
        if (QFileInfo::exists(Target.LibraryFolder))
            moveOrRaise(
                Target.LibraryFolder, parts.Former, Callbacks,
                QCoreApplication::translate("ExtractInstall",
                                            "Cannot move the earlier library folder \"%1\" aside.")
                    .arg(folder));
        moveOrRaise(parts.NewFolder, Target.LibraryFolder, Callbacks,
                    QCoreApplication::translate("ExtractInstall",
                                                "Cannot put the library folder \"%1\" in place.")
                        .arg(folder));
    }
    if (QFileInfo::exists(parts.NewDocument))
        moveOrRaise(parts.NewDocument, Target.ProjectDocument, Callbacks,
                    QCoreApplication::translate("ExtractInstall",
                                                "Cannot put the project document \"%1\" in place.")
                        .arg(native(Target.ProjectDocument)));
}

/// Undoes the steps of moveIntoPlace before the document's: the new library folder back into
/// the work folder, the earlier one back into place. Returns where the earlier library folder
/// is when it could not be put back, or an empty string.
QString putBack(const QString &Work, const TExtractTarget &Target, const TPackCallbacks &Callbacks)
{
    const TExtractWork parts(Work);
    try {
        if (!QFileInfo::exists(parts.NewFolder) && QFileInfo::exists(Target.LibraryFolder))
            moveOrRaise(Target.LibraryFolder, parts.NewFolder, Callbacks, QString());
        if (QFileInfo::exists(parts.Former))
            moveOrRaise(parts.Former, Target.LibraryFolder, Callbacks, QString());
    } catch (const EFileError &) {
        return QFileInfo::exists(parts.Former) ? parts.Former : QString();
    }
    return QString();
}

} // namespace

TExtractWork::TExtractWork(const QString &Work)
    : NewFolder(Work + QStringLiteral("/library")),
      NewDocument(Work + QStringLiteral("/project.js")), Former(Work + QStringLiteral("/former"))
{
}

void InstallExtraction(TWorkFolder &Work, const TExtractTarget &Target,
                       const TPackCallbacks &Callbacks)
{
    Work.RecordStep(StepInstalling + u'\n' + Target.LibraryFolder);
    try {
        moveIntoPlace(Work.Path(), Target, Callbacks);
    } catch (const EFileError &e) {
        const QString kept = putBack(Work.Path(), Target, Callbacks);
        if (kept.isEmpty())
            throw;
        Work.Keep(); // first: whatever fails next, the folder stays
        try {
            Work.RecordStep(StepKept);
        } catch (const EFileError &) {
            // Without its lock the folder is left alone all the same.
        }
        throw EFileError(QCoreApplication::translate(
                             "ExtractInstall", "%1 The earlier library folder could not be put "
                                               "back and is kept in \"%2\".")
                             .arg(e.message(), native(kept)));
    }
    if (!Target.IntermediateTar.isEmpty() && QFileInfo(Target.IntermediateTar).isFile())
        QFile::remove(Target.IntermediateTar);
}

bool SettleKilledExtraction(const QString &Work, const TExtractTarget &Target)
{
    const QStringList step = TWorkFolder::RecordedStep(Work).split(u'\n');
    if (step.first() == StepKept)
        return false;
    if (step.first() != StepInstalling)
        return true;
    if (step.value(1) != Target.LibraryFolder)
        return false; // another archive's, which its own next extraction settles
    try {
        moveIntoPlace(Work, Target, {});
    } catch (const EFileError &) {
        if (!putBack(Work, Target, {}).isEmpty())
            return false;
    }
    return true;
}
