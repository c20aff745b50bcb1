// Draws the contact sheet of a 5,000-symbol library with the command-line tool, as HTML and as
// PNG pages, and prints the milliseconds per symbol beside the goal and the figure the work
// started from, the size of what was written and the tool's peak memory. Without arguments the
// library is a generated one (5,000 symbols, 1,500 pictures of 24 to 160 pixels, two state
// pictures each), kept between runs; with PROJECT.js it is that project (scripts/bench.sh makes
// one of 5,000 symbols from an installed icon theme). GLYPHBOOK_BENCH_CLI measures another
// build of the tool, such as an earlier release.
#include "bench/BenchPictures.h"
#include "model/ViraSymbol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

constexpr int Rounds = 3;
constexpr int SymbolCount = 5000;
constexpr int PictureCount = 1500;

/// The pictures and the project document in Folder, created unless an earlier run left them.
QString ensureLibrary(const QString &folder)
{
    const QString project = folder + QStringLiteral("/project.js");
    if (QFile::exists(project))
        return project;
    QDir().mkpath(folder + QStringLiteral("/pictures"));
    std::printf("Creating the library in %s ...\n", qPrintable(folder));
    std::fflush(stdout);
    QRandomGenerator random(20261211);
    QStringList pictures;
    for (int i = 0; i < PictureCount; ++i) {
        const int side = random.bounded(24, 161);
        const QString path = folder + QStringLiteral("/pictures/symbol %1.png").arg(i);
        if (!makePicture(random, side, side * random.bounded(60, 140) / 100, random.bounded(2, 12))
                 .save(path))
            qFatal("cannot write %s", qPrintable(path));
        pictures << path;
    }
    TViraGlyphbook book;
    for (int i = 0; i < SymbolCount; ++i) {
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = QStringLiteral("symbol%1").arg(i);
        symbol->Names = {{QStringLiteral("en"), QStringLiteral("Symbol %1").arg(i)}};
        symbol->Symbol = true;
        symbol->ImageX = random.bounded(40);
        symbol->ImageY = random.bounded(40);
        symbol->TextY = 40;
        symbol->Image = pictures[i % PictureCount];
        symbol->StateImages = {{QStringLiteral("1"), pictures[(i * 7 + 1) % PictureCount]},
                               {QStringLiteral("Alarm"), pictures[(i * 13 + 2) % PictureCount]}};
        book.Symbols.append(symbol);
    }
    book.SaveToFile(project);
    return project;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct TWritten {
    int Files = 0;
    qint64 Bytes = 0;
    qint64 Largest = 0;
};

/// The files the tool said it wrote.
TWritten written(const QByteArray &output)
{
    TWritten sum;
    for (const QByteArray &line : output.split('\n')) {
        if (line.isEmpty())
            continue;
        const qint64 size = QFileInfo(QString::fromLocal8Bit(line)).size();
        ++sum.Files;
        sum.Bytes += size;
        sum.Largest = std::max(sum.Largest, size);
    }
    return sum;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // painting the pictures needs no screen
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool generated = args.size() < 2;
    const QString project = generated ? ensureLibrary(QStringLiteral(BENCH_DATA "/sheet-library"))
                                      : QFileInfo(args[1]).absoluteFilePath();
    TViraGlyphbook book;
    book.LoadFromFile(project);
    const int symbols = int(book.Symbols.size());
    const QString tool = qEnvironmentVariableIsSet("GLYPHBOOK_BENCH_CLI")
                             ? qEnvironmentVariable("GLYPHBOOK_BENCH_CLI")
                             : QStringLiteral(GLYPHBOOK_CLI);
    QTemporaryDir work;

    std::printf("library: %s, %d symbols; %d rounds, the median counts\n",
                generated ? "generated" : qPrintable(project), symbols, Rounds);
    for (const char *format : {"html", "png"}) {
        const QString target = work.filePath(QStringLiteral("sheet.") + QLatin1String(format));
        std::vector<double> seconds;
        std::vector<double> peaks;
        std::vector<double> cpu;
        TWritten files;
        for (int round = 0; round < Rounds; ++round) {
            QByteArray output;
            const TRun r = run({tool, QStringLiteral("sheet"), project, target}, &output);
            seconds.push_back(r.Seconds);
            peaks.push_back(r.PeakMiB);
            cpu.push_back(r.CpuSeconds);
            files = written(output);
        }
        const double perSymbol = median(seconds) * 1000 / symbols;
        std::printf("%-4s %6.2f s, %.2f ms per symbol (goal <= 0.50, was %s); processor time "
                    "%.2f ms per symbol; %d files, %.1f MB, the largest %.1f MB; peak memory "
                    "%.0f MiB\n",
                    format, median(seconds), perSymbol,
                    generated                          ? "not measured"
                    : std::strcmp(format, "html") == 0 ? "3.56 on the icon theme's library"
                                                       : "3.42 on the icon theme's library",
                    median(cpu) * 1000 / symbols, files.Files, files.Bytes / 1e6,
                    files.Largest / 1e6, median(peaks));
        std::fflush(stdout);
    }
    return 0;
}
