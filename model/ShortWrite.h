#pragma once

#include <QString>

class QIODevice;

/// Why the write or flush just made on Device fell short. Qt reports a write that the system
/// took only in part without a reason ("Unknown error"), while the system's own reason ("No space
/// left on device") is still in errno: call this right after the failed call, before anything
/// else can change errno.
QString ShortWriteReason(const QIODevice &Device);
