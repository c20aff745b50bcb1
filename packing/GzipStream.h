#pragma once

#include "model/GlyphbookError.h"

#include <QByteArray>
#include <QIODevice>

#include <functional>
#include <memory>

class TParallelDeflate;

/// A gzip stream that cannot be written, is no gzip stream, or is damaged or cut short.
class EGzipError : public EGlyphbookError
{
public:
    using EGlyphbookError::EGlyphbookError;
};

/// Compresses everything written to it into one gzip member on Target, byte for byte zlib's at
/// its best compression (15-bit window, memory level 8, default strategy and header) given the
/// stream in chunks of TParallelDeflate::ChunkSize. The compression runs on threads of its own
/// while the writer's caller reads the next files; at most a few chunks wait. Target belongs to
/// those threads until Finish or the writer's end.
class TGzipWriter : public QIODevice
{
public:
    explicit TGzipWriter(QIODevice *Target);
    ~TGzipWriter() override;

    bool isSequential() const override { return true; }
    /// Compresses what is left and writes the gzip trailer; raises EGzipError on failure.
    void Finish();
    /// Called on the writing thread with the uncompressed bytes compressed so far.
    std::function<void(qint64)> Progress;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *Data, qint64 Size) override;

private:
    QIODevice *FTarget;
    std::unique_ptr<TParallelDeflate> FDeflate;
    QByteArray FInput;
    bool FFinished = false;
};

/// Inflates a gzip file while it is read. Reading stops at the end of the compressed data; a
/// source that is no gzip stream, is damaged, or ends before its trailer makes reads fail, and
/// RaiseIfFailed / ReadToEnd turn that into an EGzipError with a message for the user.
class TGzipReader : public QIODevice
{
public:
    /// SourceName names the source in messages.
    TGzipReader(QIODevice *Source, const QString &SourceName);
    ~TGzipReader() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    /// Only a seek to the start, before anything was read, succeeds (readers rewind first).
    bool seek(qint64 Pos) override;

    /// Reads and drops the rest, so that the trailer is checked; raises EGzipError on failure.
    void ReadToEnd();
    /// Raises the EGzipError of an earlier failed read, if there was one.
    void RaiseIfFailed() const;

    /// Called with the compressed bytes consumed so far.
    std::function<void(qint64)> Progress;

protected:
    qint64 readData(char *Data, qint64 MaxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    struct TInflater; // ISA-L's state where the build has it, zlib's otherwise

    bool FillInput();
    bool StartNextMember();
    qint64 Fail(const QString &Message);
    qint64 FailCut();
    qint64 FailDamaged(const QString &Why);
    // Both advance the input and return 1 when done, 0 when they need more, -1 on damage.
    int ReadHeader();
    int ReadTrailer();

    QIODevice *FSource;
    QString FSourceName;
    std::unique_ptr<TInflater> FInflater;
    QByteArray FInput;
    qint64 FConsumed = 0;
    qint64 FTotalOut = 0;
    bool FSourceAtEnd = false;
    bool FEnded = false;
    QString FError;
};
