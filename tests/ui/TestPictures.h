#pragma once

#include <QByteArray>

/// A 1 x 1 GIF of two frames in different colours, looping. Qt reads GIF but cannot write it.
inline QByteArray twoFrameGif()
{
    const QByteArray frameHeader = QByteArray::fromHex("21f904000a0000002c0000000001000100000202");
    return QByteArray("GIF89a") + QByteArray::fromHex("01000100800000ffffff000000") +
           QByteArray::fromHex("21ff0b") + QByteArray("NETSCAPE2.0") +
           QByteArray::fromHex("0301000000") + frameHeader + QByteArray::fromHex("440100") +
           frameHeader + QByteArray::fromHex("4c0100") + QByteArray::fromHex("3b");
}
