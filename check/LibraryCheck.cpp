#include "check/LibraryCheck.h"

#include "model/ImagePath.h"
#include "model/IntegerText.h"
#include "model/ViraSymbol.h"
#include "packing/ArchiveNames.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <numeric>

struct TLibraryCheck::TFileFacts {
    bool Exists = false;
    bool Picture = false;
    QString Identity;

    friend bool operator==(const TFileFacts &a, const TFileFacts &b)
    {
        return a.Exists == b.Exists && a.Picture == b.Picture && a.Identity == b.Identity;
    }
};

/// One image of a symbol: its main image (State -1) or a state image.
struct TLibraryCheck::TImageUse {
    int State = -1;
    QString Stored;
    QString File;
    QString Natural;
    TFileFacts Facts;
    QString Group;     // the natural name's meeting key: names meet only within a group
    bool Wild = false; // its name may meet any other: the images are named all at once
    QString Renamed;   // the archive's name when it differs from Natural
};

struct TLibraryCheck::TSymbolEntry {
    QString Identifier;
    QStringList MissingLanguages;
    QStringList StateValues;
    QList<bool> BadValue;    // per state
    QList<int> RepeatOf;     // per state: the earlier state with the same value, or -1
    QList<TImageUse> Images; // the main image, then the state images in order
    QList<TCheckFinding> Findings;
};

namespace
{

const QStringList &stateWords()
{
    static const QStringList words = {QStringLiteral("Alarm"), QStringLiteral("MO_Off"),
                                      QStringLiteral("MO")};
    return words;
}

/// States with equal keys stand for the same state: " 1", "1" and "$1" are all state 1.
QString stateKey(const QString &Value)
{
    if (const auto number = TryStrToInt(Value))
        return QString::number(*number);
    return u'\'' + Value;
}

} // namespace

bool CheckKindConcernsImage(TCheckKind Kind)
{
    return Kind == TCheckKind::MissingImage || Kind == TCheckKind::UnreadablePicture ||
           Kind == TCheckKind::RenamedImage;
}

QString FindingLine(const TCheckFinding &Finding)
{
    QString where =
        QStringLiteral("symbol %1 \"%2\"").arg(Finding.Symbol + 1).arg(Finding.Identifier);
    if (Finding.State >= 0)
        where += QStringLiteral(", state %1").arg(Finding.State + 1);
    return QStringLiteral("%1 (%2)").arg(Finding.Message, where);
}

QString CheckKindName(TCheckKind Kind)
{
    switch (Kind) {
    case TCheckKind::MissingImage:
        return QStringLiteral("missing-image");
    case TCheckKind::UnreadablePicture:
        return QStringLiteral("unreadable-picture");
    case TCheckKind::RepeatedIdentifier:
        return QStringLiteral("repeated-identifier");
    case TCheckKind::BadStateValue:
        return QStringLiteral("bad-state-value");
    case TCheckKind::RepeatedStateValue:
        return QStringLiteral("repeated-state-value");
    case TCheckKind::MissingName:
        return QStringLiteral("missing-name");
    case TCheckKind::RenamedImage:
        return QStringLiteral("renamed-image");
    }
    return QString();
}

TLibraryCheck::TLibraryCheck(TCheckOptions Options) : FOptions(std::move(Options)) {}

TLibraryCheck::~TLibraryCheck() = default;

void TLibraryCheck::SetOptions(TCheckOptions Options)
{
    FOptions = std::move(Options);
}

void TLibraryCheck::ForgetFiles()
{
    FFiles.clear();
    FSameContent.clear();
}

const TLibraryCheck::TFileFacts &TLibraryCheck::FactsFor(const QString &FilePath, bool Fresh)
{
    auto known = FFiles.find(FilePath);
    if (known != FFiles.end() && !Fresh)
        return *known;
    TFileFacts facts;
    facts.Exists = !FilePath.isEmpty() && QFileInfo(FilePath).isFile();
    if (facts.Exists) {
        facts.Identity = TArchiveNamer::IdentityOf(FilePath);
        facts.Picture = !FOptions.IsPicture || FOptions.IsPicture(FilePath);
    }
    if (known == FFiles.end())
        return *FFiles.insert(FilePath, facts);
    if (!(*known == facts)) {
        // Which files hold the same bytes may have changed with it.
        FSameContent.clear();
        FChangedFiles.insert(FilePath);
        *known = facts;
    }
    return *known;
}

TLibraryCheck::TSymbolEntry TLibraryCheck::MakeEntry(const TViraSymbol &Symbol, bool FreshFiles)
{
    TSymbolEntry entry;
    entry.Identifier = Symbol.Identifier;
    for (const QString &language : std::as_const(FOptions.Languages))
        if (Symbol.FindName(language).isEmpty())
            entry.MissingLanguages << language;

    const auto use = [&](int state, const QString &stored) {
        TImageUse image;
        image.State = state;
        image.Stored = stored;
        image.File = ResolveImagePath(stored, FOptions.ProjectFile);
        image.Natural = TArchiveNamer::NaturalName(stored);
        image.Group = TArchiveNamer::MeetingKey(image.Natural);
        SetFacts(image, FactsFor(image.File, FreshFiles));
        entry.Images.append(image);
    };
    use(-1, Symbol.Image);
    QHash<QString, int> firstWithKey;
    for (int k = 0; k < Symbol.StateImages.size(); ++k) {
        const TStringPairs &state = Symbol.StateImages[k];
        entry.StateValues.append(state.Name);
        entry.BadValue.append(!TryStrToInt(state.Name) && !stateWords().contains(state.Name));
        const int first = firstWithKey.value(stateKey(state.Name), -1);
        entry.RepeatOf.append(first);
        if (first < 0)
            firstWithKey.insert(stateKey(state.Name), k);
        use(k, state.Value);
    }
    return entry;
}

bool TLibraryCheck::SameContent(const QString &PathA, const QString &PathB)
{
    const QPair<QString, QString> key =
        PathA < PathB ? qMakePair(PathA, PathB) : qMakePair(PathB, PathA);
    auto known = FSameContent.constFind(key);
    if (known == FSameContent.cend())
        known = FSameContent.insert(key, TArchiveNamer::SameBytes(PathA, PathB));
    return *known;
}

void TLibraryCheck::SetFacts(TImageUse &Image, const TFileFacts &Facts)
{
    // A link found under another file name than its target's may share a name with files of
    // another group; so may a name without a meeting key.
    Image.Facts = Facts;
    Image.Wild = Image.Group.isEmpty() ||
                 (Facts.Exists && FileNamePart(Facts.Identity) != FileNamePart(Image.Stored));
}

bool TLibraryCheck::NameUse(TArchiveNamer &Namer, TImageUse &Image)
{
    QString renamed;
    if (Image.Facts.Exists) {
        renamed = Namer.NameFor(Image.File, Image.Facts.Identity, Image.Natural);
        if (renamed == Image.Natural)
            renamed.clear();
    }
    if (renamed == Image.Renamed)
        return false;
    Image.Renamed = renamed;
    return true;
}

TArchiveNamer TLibraryCheck::MakeNamer()
{
    return TArchiveNamer([this](const QString &a, const QString &b) { return SameContent(a, b); });
}

QSet<int> TLibraryCheck::NameImages()
{
    TArchiveNamer namer = MakeNamer();
    QSet<int> changed;
    for (int i = 0; i < FEntries.size(); ++i)
        for (TImageUse &image : FEntries[i].Images)
            if (NameUse(namer, image))
                changed.insert(i);
    return changed;
}

QSet<int> TLibraryCheck::NameGroups(const QSet<QString> &Groups)
{
    // Names meet only within a group, so naming the groups a change touched, each in library
    // order, gives what naming everything again gives, unless a wild name is about.
    if (FWildImages > 0)
        return NameImages();
    QSet<int> changed;
    for (const QString &group : Groups) {
        TArchiveNamer namer = MakeNamer();
        const QList<TImageRef> members = FGroups.value(group);
        for (const auto &[symbol, image] : members)
            if (NameUse(namer, FEntries[symbol].Images[image]))
                changed.insert(symbol);
    }
    return changed;
}

void TLibraryCheck::Enroll(int Index, QSet<QString> &Touched)
{
    const QList<TImageUse> &images = FEntries[Index].Images;
    for (int k = 0; k < images.size(); ++k) {
        FWildImages += images[k].Wild;
        if (images[k].Group.isEmpty())
            continue;
        QList<TImageRef> &members = FGroups[images[k].Group];
        const TImageRef ref{Index, k};
        members.insert(std::lower_bound(members.begin(), members.end(), ref) - members.begin(),
                       ref);
        Touched.insert(images[k].Group);
    }
}

void TLibraryCheck::Unenroll(int Index, QSet<QString> &Touched)
{
    const QList<TImageUse> &images = FEntries[Index].Images;
    for (int k = 0; k < images.size(); ++k) {
        FWildImages -= images[k].Wild;
        const auto members = FGroups.find(images[k].Group);
        if (members == FGroups.end())
            continue;
        members->removeOne(TImageRef{Index, k});
        Touched.insert(images[k].Group);
        if (members->isEmpty())
            FGroups.erase(members);
    }
}

void TLibraryCheck::IndexIdentifier(int Index)
{
    QList<int> &holders = FByIdentifier[FEntries[Index].Identifier];
    holders.insert(std::lower_bound(holders.begin(), holders.end(), Index) - holders.begin(),
                   Index);
}

void TLibraryCheck::UnindexIdentifier(int Index)
{
    const auto holders = FByIdentifier.find(FEntries[Index].Identifier);
    if (holders == FByIdentifier.end())
        return;
    holders->removeOne(Index);
    if (holders->isEmpty())
        FByIdentifier.erase(holders);
}

bool TLibraryCheck::IsRepeated(int Index) const
{
    return FByIdentifier.value(FEntries[Index].Identifier).size() > 1;
}

bool TLibraryCheck::Assemble(int Index)
{
    TSymbolEntry &entry = FEntries[Index];
    // The window shows findings in its language; the tool installs no translation, so its
    // messages and outputs stay English.
    QList<TCheckFinding> findings;
    const auto add = [&](TCheckKind kind, int state, const QString &path, const QString &message) {
        findings.append({kind, Index, entry.Identifier, state, path, message});
    };
    if (IsRepeated(Index))
        add(TCheckKind::RepeatedIdentifier, -1, QString(),
            QCoreApplication::translate("TLibraryCheck", "repeated identifier \"%1\"")
                .arg(entry.Identifier));
    for (const QString &language : std::as_const(entry.MissingLanguages))
        add(TCheckKind::MissingName, -1, QString(),
            QCoreApplication::translate("TLibraryCheck", "no name in the language \"%1\"")
                .arg(language));
    for (const TImageUse &image : std::as_const(entry.Images)) {
        const int k = image.State;
        if (k >= 0) {
            if (entry.BadValue[k])
                add(TCheckKind::BadStateValue, k, QString(),
                    QCoreApplication::translate(
                        "TLibraryCheck",
                        "state value \"%1\" is neither an integer nor Alarm, MO_Off or MO")
                        .arg(entry.StateValues[k]));
            if (entry.RepeatOf[k] >= 0)
                add(TCheckKind::RepeatedStateValue, k, QString(),
                    QCoreApplication::translate(
                        "TLibraryCheck", "state value \"%1\" stands for the same state as state %2")
                        .arg(entry.StateValues[k], QString::number(entry.RepeatOf[k] + 1)));
        }
        if (!image.Facts.Exists) {
            add(TCheckKind::MissingImage, k, image.Stored,
                QCoreApplication::translate("TLibraryCheck", "missing image file \"%1\"")
                    .arg(image.Stored));
            continue;
        }
        if (!image.Facts.Picture)
            add(TCheckKind::UnreadablePicture, k, image.Stored,
                QCoreApplication::translate("TLibraryCheck",
                                            "image file \"%1\" cannot be read as a picture")
                    .arg(image.Stored));
        if (!image.Renamed.isEmpty())
            add(TCheckKind::RenamedImage, k, image.Stored,
                (image.Natural.size() > TArchiveNamer::MaxNameLength
                     ? QCoreApplication::translate(
                           "TLibraryCheck", "image name too long, shortened when packed: \"%1\" "
                                            "becomes \"%2\"")
                     : QCoreApplication::translate(
                           "TLibraryCheck", "image name clashes with another image's, renamed when "
                                            "packed: \"%1\" becomes \"%2\""))
                    .arg(image.Stored, image.Renamed));
    }
    if (findings == entry.Findings)
        return false;
    FCount += findings.size() - entry.Findings.size();
    entry.Findings = std::move(findings);
    return true;
}

void TLibraryCheck::Check(const TViraGlyphbook &Glyphbook)
{
    FEntries.clear();
    FByIdentifier.clear();
    FGroups.clear();
    FWildImages = 0;
    FCount = 0;
    FEntries.reserve(Glyphbook.Symbols.size());
    QSet<QString> touched;
    for (int i = 0; i < Glyphbook.Symbols.size(); ++i) {
        FEntries.append(MakeEntry(*Glyphbook.Symbols[i], false));
        IndexIdentifier(i);
        Enroll(i, touched);
    }
    NameImages();
    for (int i = 0; i < FEntries.size(); ++i)
        Assemble(i);
}

QList<int> TLibraryCheck::CheckEverything(const TViraGlyphbook &Glyphbook)
{
    Check(Glyphbook);
    QList<int> all(FEntries.size());
    std::iota(all.begin(), all.end(), 0);
    return all;
}

QList<int> TLibraryCheck::Settle(QSet<int> Affected, const QSet<QString> &Groups, bool NamesChanged)
{
    // A file examined again may be used by other symbols too.
    QSet<QString> groups = Groups;
    if (!FChangedFiles.isEmpty()) {
        for (int i = 0; i < FEntries.size(); ++i)
            for (TImageUse &image : FEntries[i].Images)
                if (FChangedFiles.contains(image.File)) {
                    FWildImages -= image.Wild;
                    SetFacts(image, FFiles.value(image.File));
                    FWildImages += image.Wild;
                    groups.insert(image.Group);
                    Affected.insert(i);
                }
        NamesChanged = true;
    }
    if (NamesChanged)
        Affected.unite(NameGroups(groups));

    QList<int> changed;
    for (int i : std::as_const(Affected))
        if (i >= 0 && i < FEntries.size() && Assemble(i))
            changed.append(i);
    std::sort(changed.begin(), changed.end());
    return changed;
}

QList<int> TLibraryCheck::Recheck(const TViraGlyphbook &Glyphbook, int Index)
{
    const int count = int(Glyphbook.Symbols.size());
    if (Index < 0 || Index >= count)
        return {};
    if (Index == FEntries.size() && count == Index + 1) {
        FEntries.append(TSymbolEntry());
        IndexIdentifier(Index);
    }
    if (count != FEntries.size())
        return CheckEverything(Glyphbook);

    QSet<int> affected{Index};
    // Only a group that shrinks to one or grows to two changes another symbol's findings.
    const QList<int> formerHolders = FByIdentifier.value(FEntries[Index].Identifier);
    UnindexIdentifier(Index);
    QSet<QString> groups;
    Unenroll(Index, groups);

    FChangedFiles.clear();
    TSymbolEntry entry = MakeEntry(*Glyphbook.Symbols[Index], true);
    TSymbolEntry &current = FEntries[Index];
    const bool imagesChanged =
        !std::equal(entry.Images.begin(), entry.Images.end(), current.Images.begin(),
                    current.Images.end(), [](const TImageUse &a, const TImageUse &b) {
                        return a.Stored == b.Stored && a.File == b.File && a.Facts == b.Facts;
                    });
    entry.Findings = std::move(current.Findings);
    for (int k = 0; k < entry.Images.size() && k < current.Images.size(); ++k)
        entry.Images[k].Renamed = current.Images[k].Renamed;
    current = std::move(entry);

    IndexIdentifier(Index);
    Enroll(Index, groups);
    if (formerHolders.size() == 2)
        affected.unite(QSet<int>(formerHolders.begin(), formerHolders.end()));
    const QList<int> &holders = FByIdentifier[FEntries[Index].Identifier];
    if (holders.size() == 2)
        affected.unite(QSet<int>(holders.begin(), holders.end()));
    return Settle(affected, groups, imagesChanged);
}

QList<int> TLibraryCheck::Remove(const TViraGlyphbook &Glyphbook, int Index)
{
    if (Index < 0 || Index >= FEntries.size() || Glyphbook.Symbols.size() != FEntries.size() - 1)
        return CheckEverything(Glyphbook);

    QSet<int> affected;
    const QList<int> formerHolders = FByIdentifier.value(FEntries[Index].Identifier);
    UnindexIdentifier(Index);
    QSet<QString> groups;
    Unenroll(Index, groups);
    FCount -= FEntries[Index].Findings.size();
    FEntries.removeAt(Index);

    // Everything after the removed symbol moves up by one.
    const auto moveUp = [Index](int &position) {
        if (position > Index)
            --position;
    };
    for (QList<int> &holders : FByIdentifier)
        for (int &holder : holders)
            moveUp(holder);
    for (QList<TImageRef> &members : FGroups)
        for (TImageRef &member : members)
            moveUp(member.first);
    for (int i = Index; i < FEntries.size(); ++i)
        for (TCheckFinding &finding : FEntries[i].Findings)
            finding.Symbol = i;

    if (formerHolders.size() == 2)
        for (int holder : formerHolders)
            if (holder != Index)
                affected.insert(holder > Index ? holder - 1 : holder);
    FChangedFiles.clear();
    return Settle(affected, groups, true);
}

const QList<TCheckFinding> &TLibraryCheck::FindingsOf(int Index) const
{
    static const QList<TCheckFinding> none;
    return Index >= 0 && Index < FEntries.size() ? FEntries[Index].Findings : none;
}

QList<TCheckFinding> TLibraryCheck::Findings() const
{
    QList<TCheckFinding> all;
    all.reserve(FCount);
    for (const TSymbolEntry &entry : FEntries)
        all.append(entry.Findings);
    return all;
}
