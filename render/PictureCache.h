#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <atomic>
#include <future>
#include <list>
#include <mutex>
#include <optional>

/// Decoded pictures shared by the threads that draw a sheet. Each file is decoded by the first
/// thread that asks for it while the others asking meanwhile wait for that result, and only what
/// the cells show of it is kept: a picture as large as a cell's grid whole, of a larger one the
/// part that each cell's grid shows, and the thumbnail of a state picture. What is kept is
/// bounded by MaxBytes.
///
/// Pictures come in twice: first Prepare, which reads every picture of the library ahead in the
/// order of the cells (the check needs to know which ones can be read), then Part and Thumbnail
/// while the cells are drawn, in about the same order. Prepare keeps what fits and never evicts,
/// so the pictures of the first cells are still there when drawing begins; once drawn, a picture
/// is evicted before any that is still waiting to be drawn, least recently used first.
class TPictureCache
{
public:
    /// What of a picture is shown: Image, the part of the picture at Offset in it, and the
    /// picture's whole Size, which is empty when the file is missing or holds no picture.
    struct TPart {
        QImage Image;
        QPoint Offset;
        QSize Size;
    };

    /// Pictures larger than ThumbnailSide either way are shown scaled down to fit a square of
    /// that side.
    TPictureCache(qsizetype MaxBytes, int ThumbnailSide);

    /// Notes how the cells show the picture in the file at Path: its parts in Clips (each the
    /// size of a grid), and with Thumbnail its thumbnail. Every picture is planned before any is
    /// prepared.
    void Plan(const QString &Path, const QList<QRect> &Clips, bool Thumbnail);
    /// Decodes the planned file at Path, notes whether it can be read, and keeps what the plan
    /// asks for while it fits; nothing when another thread took it on first.
    void Prepare(const QString &Path);
    /// True when the file at Path exists and holds a picture that decodes whole (as
    /// IsReadablePicture judges). A file being prepared is waited for; a planned one not yet
    /// begun is prepared here, so that the check can run beside Prepare.
    bool IsReadable(const QString &Path);

    /// The picture in the file at Path, or at least what of it lies in Clip (in the picture's
    /// coordinates): Image drawn at Offset from where the picture goes and clipped to Clip shows
    /// what the picture would.
    TPart Part(const QString &Path, const QRect &Clip);
    /// The picture scaled down to fit the thumbnail square, or as it is when it fits; null when
    /// there is none.
    QImage Thumbnail(const QString &Path);

    /// How many times a file was decoded: once each while everything fits.
    int Decodes() const { return FDecodes.load(); }
    qsizetype KeptBytes() const;

private:
    struct TPlan {
        QList<QRect> Clips;
        bool Thumbnail = false;
    };
    struct TEntry {
        std::shared_future<TPart> Value;
        qsizetype Bytes = 0;
        bool Ready = false;
        bool Drawn = false;                 // in FDrawn, which only ready entries are
        std::list<QString>::iterator InUse; // its place in FDrawn while Drawn
    };
    enum TAdmission { KeepIfRoom, MakeRoom };

    /// The value under Key, made by Make when nobody made it yet.
    template <typename TMake> TPart Fetch(const QString &Key, TAdmission Admission, TMake Make);
    QImage Decode(const QString &Path);
    /// Decodes the planned file at Path and keeps what its plan asks for; tells Readable.
    bool PrepareTaken(const QString &Path, std::promise<bool> &Readable);
    /// The whole picture, for what Prepare did not make: kept too, so that the other forms of
    /// it are made without decoding it again.
    QImage Whole(const QString &Path);
    /// The value under Key when there is one, made or being made.
    std::optional<TPart> Kept(const QString &Key);
    /// Marks a ready entry as drawn and most recently used.
    void Touch(TEntry &Entry, const QString &Key);
    static bool Fits(const QImage &Picture, const QRect &Clip);
    TPart Crop(const QImage &Picture, const QRect &Clip) const;
    TPart Scale(const QImage &Picture) const;

    const qsizetype FMaxBytes;
    const int FThumbnailSide;
    mutable std::mutex FMutex;
    QHash<QString, TEntry> FEntries; // by path (the whole picture), or path and a part
    std::list<QString> FDrawn;       // the drawn entries, most recently used first
    QHash<QString, TPlan> FPlans;
    // Whether each file taken on can be read, known or coming, even when its parts left.
    QHash<QString, std::shared_future<bool>> FReadable;
    qsizetype FBytes = 0;
    std::atomic<int> FDecodes{0};
};
