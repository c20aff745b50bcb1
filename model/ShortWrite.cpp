#include "model/ShortWrite.h"

#include <QCoreApplication>
#include <QIODevice>

#include <cerrno>
#include <cstring>

namespace
{
// Qt's own text, in whatever language Qt speaks: lupdate skips a context that is no literal, so
// our translations never claim it.
const char QtDeviceContext[] = "QIODevice";
} // namespace

QString ShortWriteReason(const QIODevice &Device)
{
    const int systemError = errno;
    const QString reason = Device.errorString();
    const bool unknown =
        reason.isEmpty() || reason == QCoreApplication::translate(QtDeviceContext, "Unknown error");
    if (unknown && systemError != 0)
        return QString::fromLocal8Bit(std::strerror(systemError));
    return reason;
}
