#pragma once

// What zlib gives for bytes deflated in one call: the yardstick of the tests of our streams.

#include <QByteArray>

#include <zlib.h>

/// Bytes deflated at Level; WindowBits as deflateInit2 takes it (31: a gzip member, -15: raw
/// deflate data), memory level 8.
inline QByteArray OneCallDeflate(const QByteArray &Bytes, int Level, int WindowBits)
{
    z_stream z{};
    deflateInit2(&z, Level, Z_DEFLATED, WindowBits, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&z, uLong(Bytes.size()))) + 64, Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(Bytes.constData()));
    z.avail_in = uInt(Bytes.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.truncate(out.size() - qsizetype(z.avail_out));
    deflateEnd(&z);
    return out;
}
