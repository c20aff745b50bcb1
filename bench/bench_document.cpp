// Library document speed and memory against Qt's own JSON and against RapidJSON on the very
// same file.
//
// Builds a library of 20,000 symbols (two names, three state images each), then times SaveToFile
// and LoadFromFile, and reading the same file with QJsonDocument::fromJson and writing it back
// with toJson. The peak memory of a load is measured in a fresh child process so that nothing of
// the benchmark itself counts. Then `glyphbook format` of the file runs as a process of its own,
// in turns with a process that parses the same bytes into a RapidJSON document and writes it
// indented; both are timed from start to exit and their peak resident memory is taken from the
// kernel. Format figures are medians of the ratios of alternating runs; the others are the best
// of several rounds.

#include "bench/BenchLibrary.h"
#include "bench/BenchProcess.h"
#include "model/ViraSymbol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace
{

constexpr int SymbolCount = 20000;
constexpr int Rounds = 5;

// The best of several rounds, in milliseconds.
double bestOf(const std::function<void()> &work)
{
    double best = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        qFatal("cannot write %s", qPrintable(path));
}

QJsonDocument qtLoad(const QString &path)
{
    const QByteArray bytes = readAll(path);
    QJsonParseError error;
    // Qt's parser does not take the byte-order mark.
    const QJsonDocument document = QJsonDocument::fromJson(bytes.mid(3), &error);
    if (document.isNull())
        qFatal("Qt cannot parse the file: %s", qPrintable(error.errorString()));
    return document;
}

long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Child mode: one load, then the growth of the resident set over the load, in KiB.
int measureLoad(const QString &which, const QString &path)
{
    const long before = statusKiB("VmRSS");
    if (which == u"ours") {
        TViraGlyphbook book;
        book.LoadFromFile(path);
    } else {
        const QJsonDocument document = qtLoad(path);
    }
    std::printf("%ld\n", statusKiB("VmHWM") - before);
    return 0;
}

long peakOfLoadKiB(const QString &which, const QString &path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--measure-load"), which, path});
    child.waitForFinished(-1);
    return child.readAllStandardOutput().trimmed().toLong();
}

// Child mode: what a program built on RapidJSON does to format a document: read the bytes, parse
// them into a document tree, write the tree indented (one blank per level) and save the text.
int rapidFormat(const char *in, const char *out)
{
    std::FILE *file = std::fopen(in, "rb");
    if (!file)
        return 1;
    std::fseek(file, 0, SEEK_END);
    std::string bytes(size_t(std::ftell(file)), '\0');
    std::fseek(file, 0, SEEK_SET);
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (read != bytes.size())
        return 1;
    const size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    rapidjson::Document document;
    document.Parse(bytes.data() + skip, bytes.size() - skip);
    if (document.HasParseError())
        return 1;
    rapidjson::StringBuffer text;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(text);
    writer.SetIndent(' ', 1);
    document.Accept(writer);
    std::FILE *output = std::fopen(out, "wb");
    if (!output || std::fwrite(text.GetString(), 1, text.GetSize(), output) != text.GetSize() ||
        std::fclose(output) != 0)
        return 1;
    return 0;
}

struct TFigures {
    double Best;
    double Median;
    double BestCpu;
    long PeakKiB;
};

TFigures summarise(std::vector<TRun> runs)
{
    double bestCpu = 1e300;
    long peak = 0;
    for (const TRun &one : runs) {
        bestCpu = std::min(bestCpu, one.CpuSeconds * 1e3);
        peak = std::max(peak, long(one.PeakMiB * 1024));
    }
    std::sort(runs.begin(), runs.end(),
              [](const TRun &a, const TRun &b) { return a.Seconds < b.Seconds; });
    return {runs.front().Seconds * 1e3, runs[runs.size() / 2].Seconds * 1e3, bestCpu, peak};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// `glyphbook format` against the RapidJSON program, in turns so that a busy spell of the machine
// falls on both alike; the figure is the median of the rounds' ratios.
void compareFormat(const QString &document, const QTemporaryDir &dir)
{
    constexpr int FormatRounds = 9;
    const QStringList ours = {QStringLiteral(GLYPHBOOK_CLI), QStringLiteral("format"), document,
                              dir.filePath(QStringLiteral("formatted.js"))};
    const QStringList theirs = {QCoreApplication::applicationFilePath(),
                                QStringLiteral("--rapidjson"), document,
                                dir.filePath(QStringLiteral("rapidjson.js"))};
    std::vector<TRun> oursRuns;
    std::vector<TRun> theirRuns;
    std::vector<double> timeRatios;
    std::vector<double> cpuRatios;
    std::vector<double> memoryRatios;
    for (int round = 0; round < FormatRounds; ++round) {
        oursRuns.push_back(run(ours));
        theirRuns.push_back(run(theirs));
        timeRatios.push_back(oursRuns.back().Seconds / theirRuns.back().Seconds);
        cpuRatios.push_back(oursRuns.back().CpuSeconds / theirRuns.back().CpuSeconds);
        memoryRatios.push_back(oursRuns.back().PeakMiB / theirRuns.back().PeakMiB);
    }
    const TFigures a = summarise(oursRuns);
    const TFigures b = summarise(theirRuns);
    std::printf("glyphbook format      %8.1f ms (best %.1f, CPU %.1f)   RapidJSON parse + indented "
                "write %8.1f ms (best %.1f, CPU %.1f)\n",
                a.Median, a.Best, a.BestCpu, b.Median, b.Best, b.BestCpu);
    std::printf(
        "format / RapidJSON    time %.2f (CPU %.2f), median of %d ratios (goal <= 1.00, was "
        "1.47)\n",
        median(timeRatios), median(cpuRatios), FormatRounds);
    std::printf("peak memory of format %8.1f MiB   RapidJSON %.1f MiB   ratio %.2f (goal <= 1.00, "
                "was 1.18)\n",
                a.PeakKiB / 1024.0, b.PeakKiB / 1024.0, median(memoryRatios));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && std::string(argv[1]) == "--rapidjson")
        return rapidFormat(argv[2], argv[3]);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == u"--measure-load")
        return measureLoad(args[2], args[3]);
    if (args.size() == 3 && args[1] == u"--write-document") {
        BenchLibrary(SymbolCount).SaveToFile(args[2]);
        return 0;
    }

    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("library.js"));
    const QString theirs = dir.filePath(QStringLiteral("qt.js"));

    // A child writes the document, so that this process is still small when it starts the format
    // runs: the kernel reports a child's peak as at least its parent's size at the start.
    run({app.applicationFilePath(), QStringLiteral("--write-document"), ours});
    const qint64 size = QFileInfo(ours).size();
    std::printf("symbols               %d\n", SymbolCount);
    std::printf("file size             %.2f MiB (%lld bytes)\n", size / 1048576.0, size);
    compareFormat(ours, dir);

    TViraGlyphbook book = BenchLibrary(SymbolCount);
    const double save = bestOf([&] { book.SaveToFile(ours); });
    const double load = bestOf([&] {
        TViraGlyphbook loaded;
        loaded.LoadFromFile(ours);
        if (loaded.Symbols.size() != SymbolCount)
            qFatal("the load lost symbols");
    });

    const QJsonDocument document = qtLoad(ours);
    const double qtParse = bestOf([&] { qtLoad(ours); });
    const double qtWrite =
        bestOf([&] { writeAtomically(theirs, document.toJson(QJsonDocument::Indented)); });

    const long peakOurs = peakOfLoadKiB(QStringLiteral("ours"), ours);
    const long peakQt = peakOfLoadKiB(QStringLiteral("qt"), ours);

    std::printf("SaveToFile            %8.1f ms   Qt toJson + write   %8.1f ms   ratio %.2f (goal "
                "<= 2.0)\n",
                save, qtWrite, save / qtWrite);
    std::printf("LoadFromFile          %8.1f ms   Qt read + fromJson  %8.1f ms   ratio %.2f (goal "
                "<= 2.0)\n",
                load, qtParse, load / qtParse);
    std::printf("peak memory of a load %8.1f MiB = %.2fx the file (goal < 8x); Qt's parse %.1f MiB "
                "= %.2fx\n",
                peakOurs / 1024.0, peakOurs * 1024.0 / double(size), peakQt / 1024.0,
                peakQt * 1024.0 / double(size));
    return 0;
}
