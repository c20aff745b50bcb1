#include "render/PictureCache.h"

#include "render/PictureFiles.h"
#include "render/VectorState.h"

#include <algorithm>

namespace
{

// No path holds a NUL: it parts the path from what of the picture the entry holds.
QString thumbnailKey(const QString &Path)
{
    return Path + QChar(0);
}

QString partKey(const QString &Path, const QRect &Clip)
{
    return Path + QChar(0) + QString::number(Clip.x()) + u',' + QString::number(Clip.y()) + u',' +
           QString::number(Clip.width()) + u',' + QString::number(Clip.height());
}

} // namespace

TPictureCache::TPictureCache(qsizetype MaxBytes, int ThumbnailSide)
    : FMaxBytes(MaxBytes), FThumbnailSide(ThumbnailSide)
{
}

QImage TPictureCache::Decode(const QString &Path)
{
    ClearVectorUpperHalves();
    QImage picture = ReadPicture(Path);
    ++FDecodes;
    // Drawn many times: in the painter's own format it needs no conversion each time.
    const QImage::Format drawn =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (!picture.isNull() && picture.format() != drawn)
        picture.convertTo(drawn);
    return picture;
}

TPictureCache::TPart TPictureCache::Crop(const QImage &Picture, const QRect &Clip) const
{
    const QRect shown = Clip & Picture.rect();
    if (shown == Picture.rect())
        return {Picture, {}, Picture.size()};
    return {shown.isEmpty() ? QImage() : Picture.copy(shown), shown.topLeft(), Picture.size()};
}

TPictureCache::TPart TPictureCache::Scale(const QImage &Picture) const
{
    if (Picture.width() <= FThumbnailSide && Picture.height() <= FThumbnailSide)
        return {Picture, {}, Picture.size()};
    const QImage thumbnail = Picture.scaled(FThumbnailSide, FThumbnailSide, Qt::KeepAspectRatio,
                                            Qt::SmoothTransformation);
    return {thumbnail, {}, thumbnail.size()};
}

template <typename TMake>
TPictureCache::TPart TPictureCache::Fetch(const QString &Key, TAdmission Admission, TMake Make)
{
    std::unique_lock lock(FMutex);
    auto found = FEntries.find(Key);
    if (found != FEntries.end()) {
        if (Admission == MakeRoom && found->Ready)
            Touch(*found, Key);
        const std::shared_future<TPart> value = found->Value;
        lock.unlock();
        return value.get();
    }

    std::promise<TPart> promise;
    TEntry waiting;
    waiting.Value = promise.get_future().share();
    FEntries.insert(Key, waiting);
    lock.unlock();
    TPart part;
    try {
        part = Make();
    } catch (...) {
        lock.lock();
        FEntries.remove(Key);
        promise.set_exception(std::current_exception());
        throw;
    }
    promise.set_value(part);

    lock.lock();
    const qsizetype bytes = std::max<qsizetype>(1, part.Image.sizeInBytes());
    {
        // Still there: an entry being made is never evicted.
        TEntry &entry = *FEntries.find(Key);
        entry.Ready = true;
        entry.Bytes = bytes;
    }
    FBytes += bytes;
    if (Admission == MakeRoom) {
        // Removing from the table moves other entries: no reference is held across it.
        while (FBytes > FMaxBytes && !FDrawn.empty()) {
            const QString oldest = FDrawn.back();
            FDrawn.pop_back();
            FBytes -= FEntries.value(oldest).Bytes;
            FEntries.remove(oldest);
        }
    }
    if (FBytes > FMaxBytes) {
        // What waits to be drawn stays; this one is given out but not kept.
        FBytes -= bytes;
        FEntries.remove(Key);
    } else if (Admission == MakeRoom) {
        TEntry &kept = *FEntries.find(Key);
        kept.Drawn = true;
        kept.InUse = FDrawn.insert(FDrawn.begin(), Key);
    }
    return part;
}

bool TPictureCache::Fits(const QImage &Picture, const QRect &Clip)
{
    return Picture.width() <= Clip.width() && Picture.height() <= Clip.height();
}

std::optional<TPictureCache::TPart> TPictureCache::Kept(const QString &Key)
{
    std::unique_lock lock(FMutex);
    const auto found = FEntries.find(Key);
    if (found == FEntries.end())
        return std::nullopt;
    if (found->Ready)
        Touch(*found, Key);
    const std::shared_future<TPart> value = found->Value;
    lock.unlock();
    return value.get();
}

void TPictureCache::Touch(TEntry &Entry, const QString &Key)
{
    if (Entry.Drawn) {
        FDrawn.splice(FDrawn.begin(), FDrawn, Entry.InUse);
    } else {
        Entry.Drawn = true;
        Entry.InUse = FDrawn.insert(FDrawn.begin(), Key);
    }
}

void TPictureCache::Plan(const QString &Path, const QList<QRect> &Clips, bool Thumbnail)
{
    const std::lock_guard lock(FMutex);
    FPlans.insert(Path, {Clips, Thumbnail});
}

bool TPictureCache::PrepareTaken(const QString &Path, std::promise<bool> &Readable)
{
    try {
        TPlan plan;
        {
            const std::lock_guard lock(FMutex);
            plan = FPlans.value(Path);
        }
        const QImage picture = Decode(Path);
        // A picture no larger than the grid is kept whole, once for all the cells that show it;
        // of a larger one only what each cell shows.
        if (!plan.Clips.isEmpty() && Fits(picture, plan.Clips.first()))
            Fetch(Path, KeepIfRoom, [&] { return TPart{picture, {}, picture.size()}; });
        else
            for (const QRect &clip : std::as_const(plan.Clips))
                Fetch(partKey(Path, clip), KeepIfRoom, [&] { return Crop(picture, clip); });
        if (plan.Thumbnail)
            Fetch(thumbnailKey(Path), KeepIfRoom, [&] { return Scale(picture); });
        Readable.set_value(!picture.isNull());
        return !picture.isNull();
    } catch (...) {
        Readable.set_exception(std::current_exception());
        throw;
    }
}

void TPictureCache::Prepare(const QString &Path)
{
    std::promise<bool> readable;
    {
        const std::lock_guard lock(FMutex);
        if (FReadable.contains(Path))
            return;
        FReadable.insert(Path, readable.get_future().share());
    }
    PrepareTaken(Path, readable);
}

bool TPictureCache::IsReadable(const QString &Path)
{
    std::promise<bool> readable;
    {
        std::unique_lock lock(FMutex);
        const auto known = FReadable.constFind(Path);
        if (known != FReadable.cend()) {
            const std::shared_future<bool> answer = *known;
            lock.unlock();
            return answer.get();
        }
        FReadable.insert(Path, readable.get_future().share());
    }
    return PrepareTaken(Path, readable);
}

QImage TPictureCache::Whole(const QString &Path)
{
    return Fetch(Path, MakeRoom,
                 [&] {
                     const QImage picture = Decode(Path);
                     return TPart{picture, {}, picture.size()};
                 })
        .Image;
}

TPictureCache::TPart TPictureCache::Part(const QString &Path, const QRect &Clip)
{
    if (std::optional<TPart> whole = Kept(Path))
        return *whole;
    const QString key = partKey(Path, Clip);
    if (std::optional<TPart> part = Kept(key))
        return *part;
    const QImage picture = Whole(Path);
    if (Fits(picture, Clip))
        return {picture, {}, picture.size()};
    return Fetch(key, MakeRoom, [&] { return Crop(picture, Clip); });
}

QImage TPictureCache::Thumbnail(const QString &Path)
{
    return Fetch(thumbnailKey(Path), MakeRoom, [&] { return Scale(Whole(Path)); }).Image;
}

qsizetype TPictureCache::KeptBytes() const
{
    const std::lock_guard lock(FMutex);
    return FBytes;
}
