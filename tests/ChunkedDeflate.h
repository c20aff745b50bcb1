#pragma once

// The parallel deflate and zlib fed alike, for the tests and the benchmark that compare them.

#include "packing/ParallelDeflate.h"

#include <QByteArray>

#include <zlib.h>

/// zlib at level 9 as a gzip member, fed in chunks of TParallelDeflate::ChunkSize, the last with
/// Z_FINISH.
inline QByteArray ZlibInChunks(const QByteArray &Bytes)
{
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    QByteArray out;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    const qsizetype chunk = TParallelDeflate::ChunkSize;
    const qsizetype full = Bytes.size() / chunk * chunk;
    for (qsizetype at = 0; at <= full; at += chunk) {
        const bool last = at == full;
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(Bytes.constData() + at));
        z.avail_in = uInt(last ? Bytes.size() - at : chunk);
        int result;
        do {
            z.next_out = reinterpret_cast<Bytef *>(buffer.data());
            z.avail_out = uInt(buffer.size());
            result = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            out.append(buffer.constData(), buffer.size() - qsizetype(z.avail_out));
        } while (last ? result != Z_STREAM_END : z.avail_out == 0);
    }
    deflateEnd(&z);
    return out;
}

/// The parallel deflate of Bytes with Threads matching threads (0: one a processor).
inline QByteArray ParallelInChunks(const QByteArray &Bytes, int Threads)
{
    QByteArray out;
    TParallelDeflate deflater(
        [&](const char *Data, qint64 Size, QString &) {
            out.append(Data, Size);
            return true;
        },
        Threads);
    const qsizetype chunk = TParallelDeflate::ChunkSize;
    qsizetype at = 0;
    for (; Bytes.size() - at >= chunk; at += chunk)
        deflater.Write(Bytes.mid(at, chunk));
    deflater.Finish(Bytes.mid(at));
    return out;
}
