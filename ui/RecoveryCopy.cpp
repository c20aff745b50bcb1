#include "ui/RecoveryCopy.h"

#include "document/GlyphbookDocument.h"
#include "model/FileSave.h"
#include "model/GlyphbookError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUuid>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{
/// How long a stream of changes may put off the next write.
constexpr qint64 kLongestPostponement = 10000;

QByteArray describe(const QString &LibraryFile, const QString &ImagesBeside, const QDateTime &Time)
{
    QJsonObject owner;
    owner.insert(u"pid"_s, QCoreApplication::applicationPid());
    owner.insert(u"user"_s, qEnvironmentVariable("USER"));
    owner.insert(u"host"_s, QSysInfo::machineHostName());
    QJsonObject description;
    description.insert(u"project"_s, LibraryFile);
    description.insert(u"imagesBeside"_s, ImagesBeside);
    description.insert(u"time"_s, Time.toUTC().toString(Qt::ISODateWithMs));
    description.insert(u"owner"_s, owner);
    return QJsonDocument(description).toJson();
}

std::unique_ptr<QLockFile> lockOf(const QString &Path)
{
    auto lock = std::make_unique<QLockFile>(Path);
    // A window keeps its copy for hours: only an owner that is gone gives it up.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}
} // namespace

TRecoveryCopy::TRecoveryCopy(TGlyphbookDocument &Document, QString Folder, QObject *Parent)
    : QObject(Parent), FDocument(Document), FFolder(std::move(Folder)),
      FName(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    if (QDir().mkpath(FFolder))
        FLock = lockOf(PathOf(FName, ".lock"));
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, [this] { Write(); });
    connect(&FDocument, &TGlyphbookDocument::savedChanged, this, &TRecoveryCopy::SavedChanged);
    connect(&FDocument, &TGlyphbookDocument::symbolChanged, this, [this] { Changed(); });
    connect(&FDocument, &TGlyphbookDocument::symbolsInserted, this, [this] { Changed(); });
    connect(&FDocument, &TGlyphbookDocument::symbolsRemoved, this, [this] { Changed(); });
}

TRecoveryCopy::~TRecoveryCopy()
{
    Flush();
}

QString TRecoveryCopy::DefaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(u"recovery"_s);
}

QString TRecoveryCopy::PathOf(const QString &Name, const char *Suffix) const
{
    return QDir(FFolder).filePath(Name + QLatin1String(Suffix));
}

QString TRecoveryCopy::DocumentPath() const
{
    return PathOf(FName, ".js");
}

void TRecoveryCopy::SetLibraryFile(const QString &FileName)
{
    FLibraryFile = FileName;
}

void TRecoveryCopy::Changed()
{
    if (FDocument.IsSaved() || !FLock)
        return;
    SetDiscarded(false);
    // Each change puts the write off, so that typing is not interrupted, but not for long.
    if (!FTimer.isActive())
        FPendingSince.start();
    if (FPendingSince.elapsed() < kLongestPostponement)
        FTimer.start(WriteDelay);
}

void TRecoveryCopy::SavedChanged(bool Saved)
{
    if (!Saved) {
        Changed();
        return;
    }
    // Undone back to the saved state. A replaced library's copy stays as discarded work.
    FTimer.stop();
    if (!FDiscarded)
        RemoveOwnCopy();
}

void TRecoveryCopy::Write()
{
    FTimer.stop();
    if (!FLock || FDocument.IsSaved())
        return;
    Wait();
    // The worker writes a snapshot: the symbols go on changing under the window.
    auto snapshot = std::make_shared<TViraGlyphbook>();
    snapshot->Symbols.reserve(FDocument.Symbols().size());
    for (const TViraSymbolPtr &symbol : FDocument.Symbols())
        snapshot->Symbols.append(std::make_shared<TViraSymbol>(*symbol));
    const QByteArray description =
        describe(FLibraryFile, FDocument.ProjectFile(), QDateTime::currentDateTimeUtc());
    const QString documentPath = DocumentPath();
    const QString descriptionPath = PathOf(FName, ".json");
    FWriting = std::async(std::launch::async, [=] {
        SaveFileBytes(documentPath, snapshot->SaveToBytes(false));
        SaveFileBytes(descriptionPath, description);
    });
    FWritten = true;
}

void TRecoveryCopy::Wait()
{
    if (!FWriting.valid())
        return;
    try {
        FWriting.get();
    } catch (const std::exception &error) {
        // The copy is a safety net; a full disk must not stop the editing.
        qWarning("The recovery copy was not written: %s", error.what());
    }
}

void TRecoveryCopy::Flush()
{
    if (FTimer.isActive())
        Write();
    Wait();
}

void TRecoveryCopy::RemoveOwnCopy()
{
    Wait();
    if (!FWritten)
        return;
    QFile::remove(DocumentPath());
    QFile::remove(PathOf(FName, ".json"));
    FWritten = false;
}

void TRecoveryCopy::SetDiscarded(bool Discarded)
{
    if (Discarded == FDiscarded)
        return;
    FDiscarded = Discarded;
    emit discardedChanged(FDiscarded);
}

void TRecoveryCopy::KeepAsDiscarded()
{
    if (FDocument.IsSaved())
        return;
    Flush();
    if (FWritten)
        SetDiscarded(true);
}

TKeptCopy TRecoveryCopy::DiscardedCopy() const
{
    return Describe(FName);
}

void TRecoveryCopy::Saved()
{
    FTimer.stop();
    SetDiscarded(false);
    RemoveOwnCopy();
}

TKeptCopy TRecoveryCopy::Describe(const QString &Name) const
{
    TKeptCopy copy;
    copy.Name = Name;
    copy.DocumentPath = PathOf(Name, ".js");
    copy.Time = QFileInfo(copy.DocumentPath).lastModified();
    QFile file(PathOf(Name, ".json"));
    if (file.open(QIODevice::ReadOnly)) {
        const QJsonObject description = QJsonDocument::fromJson(file.readAll()).object();
        copy.ProjectFile = description.value(u"project"_s).toString();
        copy.ImagesBeside = description.value(u"imagesBeside"_s).toString();
        const QDateTime time =
            QDateTime::fromString(description.value(u"time"_s).toString(), Qt::ISODateWithMs);
        if (time.isValid())
            copy.Time = time;
    }
    return copy;
}

QList<TKeptCopy> TRecoveryCopy::TakeOrphans()
{
    QList<TKeptCopy> orphans;
    const QStringList documents = QDir(FFolder).entryList({u"*.js"_s}, QDir::Files, QDir::NoSort);
    for (const QString &document : documents) {
        const QString name = QFileInfo(document).completeBaseName();
        if (name == FName)
            continue;
        std::shared_ptr<QLockFile> lock = lockOf(PathOf(name, ".lock"));
        if (!lock)
            continue;
        FOrphanLocks.append({name, std::move(lock)});
        orphans.append(Describe(name));
    }
    std::stable_sort(orphans.begin(), orphans.end(),
                     [](const TKeptCopy &a, const TKeptCopy &b) { return a.Time > b.Time; });
    return orphans;
}

void TRecoveryCopy::Release(const TKeptCopy &Copy)
{
    FOrphanLocks.removeIf([&](const auto &Lock) { return Lock.first == Copy.Name; });
}

void TRecoveryCopy::Delete(const TKeptCopy &Copy)
{
    QFile::remove(PathOf(Copy.Name, ".js"));
    QFile::remove(PathOf(Copy.Name, ".json"));
    Release(Copy);
}

TViraGlyphbook TRecoveryCopy::Load(const TKeptCopy &Copy)
{
    TViraGlyphbook library;
    if (!library.LoadFromFile(Copy.DocumentPath))
        throw EFileError(QCoreApplication::translate("TRecoveryCopy", "The file \"%1\" is missing.")
                             .arg(QDir::toNativeSeparators(Copy.DocumentPath)));
    return library;
}
