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

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
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

struct Best {
    double Wall = 1e9;
    double Cpu = 1e9; // user and system time: what the step itself spent, whatever else runs
};

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void report(const char *direction, const Best &ours, const Best &gnu)
{
    std::printf("%-5s  ours %6.3f s (cpu %6.3f s)   GNU tar %6.3f s (cpu %6.3f s)   "
                "ratio %.2f (cpu %.2f)\n",
                direction, ours.Wall, ours.Cpu, gnu.Wall, gnu.Cpu, ours.Wall / gnu.Wall,
                ours.Cpu / gnu.Cpu);
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

    Best ourWriteBest, gnuWriteBest, ourReadBest, gnuReadBest;
    // Every run writes new files under new names (deleting and re-creating thousands of files
    // makes the file system's create slower for whoever comes next), starts with no dirty pages
    // of an earlier step, and the two programs take turns at going first.
    // GNU tar runs as a child: its processor time is what the finished children used.
    auto timed = [](Best &best, int who, const std::function<bool()> &step) {
        ::sync();
        const double cpuBefore = cpuSeconds(who);
        QElapsedTimer timer;
        timer.start();
        const bool ok = step();
        best.Wall = std::min(best.Wall, timer.nsecsElapsed() / 1e9);
        best.Cpu = std::min(best.Cpu, cpuSeconds(who) - cpuBefore);
        return ok;
    };
    try {
        for (int round = 0; round < Rounds; ++round) {
            const QString n = QString::number(round);
            const QString ourTar = work.filePath(QStringLiteral("ours%1.tar").arg(n));
            const QString gnuTar = work.filePath(QStringLiteral("gnu%1.tar").arg(n));
            const QString ourOut = work.filePath(QStringLiteral("ours-out%1").arg(n));
            const QString gnuOut = work.filePath(QStringLiteral("gnu-out%1").arg(n));
            QDir().mkpath(ourOut);
            QDir().mkpath(gnuOut);

            auto ourWrite = [&] {
                TTarWriter writer(ourTar);
                for (const Sample &s : samples)
                    writer.AddFile(src + u'/' + s.Name, s.Name.toUtf8());
                writer.Finalize();
                return true;
            };
            auto gnuWrite = [&] {
                return runTar({QStringLiteral("-cf"), gnuTar, QStringLiteral("-C"), src,
                               QStringLiteral("-T"), list});
            };
            auto ourRead = [&] {
                TTarArchive reader(ourTar);
                TTarDirRec rec;
                while (reader.FindNext(rec))
                    reader.ReadFile(ourOut + u'/' + QString::fromUtf8(rec.Name));
                return true;
            };
            auto gnuRead = [&] {
                return runTar({QStringLiteral("-xf"), gnuTar, QStringLiteral("-C"), gnuOut});
            };
            const bool oursFirst = round % 2 == 0;
            auto ours = [&](Best &best, const std::function<bool()> &step) {
                return timed(best, RUSAGE_SELF, step);
            };
            auto gnu = [&](Best &best, const std::function<bool()> &step) {
                return timed(best, RUSAGE_CHILDREN, step);
            };
            bool ok = oursFirst ? ours(ourWriteBest, ourWrite) && gnu(gnuWriteBest, gnuWrite)
                                : gnu(gnuWriteBest, gnuWrite) && ours(ourWriteBest, ourWrite);
            ok = ok && (oursFirst ? ours(ourReadBest, ourRead) && gnu(gnuReadBest, gnuRead)
                                  : gnu(gnuReadBest, gnuRead) && ours(ourReadBest, ourRead));
            if (!ok)
                return 1;
        }
    } catch (const EGlyphbookError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("best of %d rounds\n", Rounds);
    report("write", ourWriteBest, gnuWriteBest);
    report("read", ourReadBest, gnuReadBest);
    return 0;
}
