// Writes and reads about 300 MB of files of mixed sizes with our tar classes and with GNU tar, and
// prints both times and their ratio per direction. Each direction is measured a few times and the
// best time kept, which damps the noise of a shared machine.
#include "packing/LibTar.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>

namespace
{

constexpr int Rounds = 3;

struct Sample {
    QString Name;
    qint64 Size;
};

// Many small files, some middling ones and a few large ones; about 300 MB in all.
QList<Sample> makeSamples()
{
    std::mt19937 random(20240601);
    QList<Sample> samples;
    auto add = [&](int count, qint64 low, qint64 high, const char *kind) {
        std::uniform_int_distribution<qint64> size(low, high);
        for (int i = 0; i < count; ++i)
            samples.append(
                {QStringLiteral("%1-%2.bin").arg(QLatin1String(kind)).arg(i), size(random)});
    };
    add(3000, 0, 60 * 1024, "small");
    add(150, 100 * 1024, 1024 * 1024, "medium");
    add(5, 20 * 1024 * 1024, 30 * 1024 * 1024, "large");
    return samples;
}

bool createSamples(const QString &dir, const QList<Sample> &samples)
{
    constexpr qint64 Step = 1 << 20;
    // Files start at different offsets of one random chunk, so that no two are alike.
    QByteArray chunk(Step + 4096, Qt::Uninitialized);
    std::mt19937 random(7);
    for (char &c : chunk)
        c = char(random());
    for (const Sample &s : samples) {
        QFile file(dir + u'/' + s.Name);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        for (qint64 left = s.Size; left > 0;) {
            const qint64 n = std::min<qint64>(left, Step);
            if (file.write(chunk.constData() + (s.Size + left) % 4096, n) != n)
                return false;
            left -= n;
        }
    }
    return true;
}

bool runTar(const QStringList &args)
{
    QProcess tar;
    tar.start(QStringLiteral("tar"), args);
    if (!tar.waitForFinished(-1) || tar.exitStatus() != QProcess::NormalExit ||
        tar.exitCode() != 0) {
        std::fprintf(stderr, "tar failed: %s\n", tar.readAllStandardError().constData());
        return false;
    }
    return true;
}

void recreate(const QString &path)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
}

void report(const char *direction, double ours, double gnu)
{
    std::printf("%-5s  ours %7.3f s   GNU tar %7.3f s   ratio %.2f\n", direction, ours, gnu,
                ours / gnu);
}

} // namespace

int main()
{
    if (QStandardPaths::findExecutable(QStringLiteral("tar")).isEmpty()) {
        std::fprintf(stderr, "GNU tar is not installed\n");
        return 1;
    }
    QTemporaryDir work;
    if (!work.isValid())
        return 1;
    const QString src = work.filePath(QStringLiteral("src"));
    const QString ourTar = work.filePath(QStringLiteral("ours.tar"));
    const QString gnuTar = work.filePath(QStringLiteral("gnu.tar"));
    const QString ourOut = work.filePath(QStringLiteral("ours-out"));
    const QString gnuOut = work.filePath(QStringLiteral("gnu-out"));
    const QString list = work.filePath(QStringLiteral("list.txt"));

    const QList<Sample> samples = makeSamples();
    qint64 total = 0;
    QByteArray names;
    for (const Sample &s : samples) {
        total += s.Size;
        names += s.Name.toUtf8() + '\n';
    }
    QDir().mkpath(src);
    QFile listFile(list);
    if (!createSamples(src, samples) || !listFile.open(QIODevice::WriteOnly) ||
        listFile.write(names) != names.size())
        return 1;
    listFile.close();
    std::printf("%lld files, %.1f MB, in %s\n", static_cast<long long>(samples.size()),
                double(total) / 1e6, qPrintable(work.path()));

    double bestOurWrite = 1e9, bestGnuWrite = 1e9, bestOurRead = 1e9, bestGnuRead = 1e9;
    try {
        for (int round = 0; round < Rounds; ++round) {
            QElapsedTimer timer;
            timer.start();
            {
                TTarWriter writer(ourTar);
                for (const Sample &s : samples)
                    writer.AddFile(src + u'/' + s.Name, s.Name.toUtf8());
                writer.Finalize();
            }
            bestOurWrite = std::min(bestOurWrite, timer.nsecsElapsed() / 1e9);

            timer.restart();
            if (!runTar({QStringLiteral("-cf"), gnuTar, QStringLiteral("-C"), src,
                         QStringLiteral("-T"), list}))
                return 1;
            bestGnuWrite = std::min(bestGnuWrite, timer.nsecsElapsed() / 1e9);

            recreate(ourOut);
            timer.restart();
            {
                TTarArchive reader(ourTar);
                TTarDirRec rec;
                while (reader.FindNext(rec))
                    reader.ReadFile(ourOut + u'/' + QString::fromUtf8(rec.Name));
            }
            bestOurRead = std::min(bestOurRead, timer.nsecsElapsed() / 1e9);

            recreate(gnuOut);
            timer.restart();
            if (!runTar({QStringLiteral("-xf"), gnuTar, QStringLiteral("-C"), gnuOut}))
                return 1;
            bestGnuRead = std::min(bestGnuRead, timer.nsecsElapsed() / 1e9);
        }
    } catch (const EGlyphbookError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("best of %d rounds\n", Rounds);
    report("write", bestOurWrite, bestGnuWrite);
    report("read", bestOurRead, bestGnuRead);
    return 0;
}
