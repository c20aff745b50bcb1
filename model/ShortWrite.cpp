#include "model/ShortWrite.h"

#include <QCoreApplication>
#include <QIODevice>

#include <cerrno>
#include <cstring>

QString ShortWriteReason(const QIODevice &Device)
{
    const int systemError = errno;
    const QString reason = Device.errorString();
    const bool unknown =
        reason.isEmpty() || reason == QCoreApplication::translate("QIODevice", "Unknown error");
    if (unknown && systemError != 0)
        return QString::fromLocal8Bit(std::strerror(systemError));
    return reason;
}
