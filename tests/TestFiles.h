#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

/// Makes at path a device like the machine's full one, on which every write fails for lack of
/// space. Tests never name the machine's own device: a faulty build run as root would replace it
/// for everyone. False where only the administrator may make devices.
inline bool makeFullDevice(const QString &path)
{
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 7)) == 0;
}

/// The bytes of a file, or none when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Writes a file whole, making its folders first; a failure fails the running test.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

/// Bytes that look random, different for each seed: file contents for tests.
inline QByteArray sampleBytes(int size, int seed)
{
    QByteArray data(size, Qt::Uninitialized);
    quint32 x = quint32(seed) * 2654435761u + 7;
    for (int i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        data[i] = char(x >> 24);
    }
    return data;
}

/// Every entry of the given kinds below root, hidden ones included: relative path → content
/// (a folder's is empty). Two snapshots compare equal when nothing changed.
inline QMap<QString, QByteArray> snapshot(const QString &root, QDir::Filters kinds = QDir::Files)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, kinds | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(QDir(root).relativeFilePath(path), readFile(path));
    }
    return entries;
}
