// Packs and extracts a library with the command-line tool and with the shell pipeline
// `tar -cf - FILES | gzip -9` / `tar -xzf`, in turns, and prints the median of the rounds'
// ratios beside the goal and the figure the work started from. Without arguments the library is
// a generated one of 600 PNG and JPEG pictures (about 68 MB), kept between runs; with
// `PROJECT.js FILES.txt` it is that project, whose pictures FILES.txt lists (scripts/bench.sh
// makes one from an installed icon theme). Extraction is timed into an empty folder and over
// the earlier library; its peak memory is taken from the kernel.
#include "bench/BenchPictures.h"
#include "model/ViraSymbol.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

constexpr int Rounds = 7;
constexpr int SymbolCount = 480; // and a state picture for every fourth: 600 pictures
constexpr qint64 TargetBytes = 68'000'000;

/// The images and the project document in Folder, created unless an earlier run left them.
QString ensureLibrary(const QString &folder)
{
    const QString project = folder + QStringLiteral("/project.js");
    if (QFile::exists(project))
        return project;
    QDir().mkpath(folder + QStringLiteral("/images"));
    std::printf("Creating the library in %s ...\n", qPrintable(folder));
    std::fflush(stdout);
    QRandomGenerator random(20261210);
    TViraGlyphbook book;
    qint64 total = 0;
    int imageCount = 0;
    const auto newImage = [&](int symbolIndex) {
        // Sizes vary widely; the budget left spreads over the symbols still to come.
        const qint64 budget = (TargetBytes - total) / std::max(1, SymbolCount - symbolIndex);
        const bool jpeg = random.bounded(3) == 0;
        const int side = std::clamp(
            int(std::sqrt(double(budget)) * (jpeg ? 0.9 : 0.55) * (0.5 + random.generateDouble())),
            16, 1600);
        const QImage picture = makePicture(random, side, side * random.bounded(60, 140) / 100,
                                           jpeg ? 30 : random.bounded(4, 24));
        const QString path =
            folder + QStringLiteral("/images/%1 %2.%3")
                         .arg(jpeg ? QStringLiteral("photo") : QStringLiteral("symbol"))
                         .arg(++imageCount)
                         .arg(jpeg ? QStringLiteral("jpg") : QStringLiteral("png"));
        picture.save(path, nullptr, jpeg ? 85 : -1);
        total += QFileInfo(path).size();
        return path;
    };
    for (int i = 0; i < SymbolCount; ++i) {
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = QStringLiteral("symbol%1").arg(i);
        symbol->Names = {{QStringLiteral("en"), QStringLiteral("Symbol %1").arg(i)}};
        symbol->Symbol = true;
        symbol->Image = newImage(i);
        if (i % 4 == 0)
            symbol->StateImages.append({QStringLiteral("1"), newImage(i)});
        book.Symbols.append(symbol);
    }
    book.SaveToFile(project);
    std::printf("%d images, %.1f MB\n", imageCount, total / 1e6);
    return project;
}

TRun shell(const QString &script)
{
    return run({QStringLiteral("/bin/sh"), QStringLiteral("-c"), script});
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString quoted(const QString &path)
{
    return u'\'' + path + u'\'';
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // painting the pictures needs no screen
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString project;
    QString tarInputs; // what tar gets: options and names
    const bool generated = args.size() < 3;
    if (generated) {
        project = ensureLibrary(QStringLiteral(BENCH_DATA "/pack-library"));
        tarInputs = QStringLiteral("-C %1 images project.js")
                        .arg(quoted(QFileInfo(project).absolutePath()));
    } else {
        project = QFileInfo(args[1]).absoluteFilePath();
        tarInputs = QStringLiteral("-T %1 -C %2 %3")
                        .arg(quoted(QFileInfo(args[2]).absoluteFilePath()),
                             quoted(QFileInfo(project).absolutePath()),
                             quoted(QFileInfo(project).fileName()));
    }
    // GLYPHBOOK_BENCH_CLI measures another build of the tool, such as an earlier release.
    const QString tool = qEnvironmentVariableIsSet("GLYPHBOOK_BENCH_CLI")
                             ? qEnvironmentVariable("GLYPHBOOK_BENCH_CLI")
                             : QStringLiteral(GLYPHBOOK_CLI);
    QTemporaryDir work;
    const QString ours = work.filePath(QStringLiteral("ours.tar.gz"));
    const QString theirs = work.filePath(QStringLiteral("theirs.tar.gz"));
    const QString oursInto = work.filePath(QStringLiteral("ours-into"));
    const QString theirsInto = work.filePath(QStringLiteral("theirs-into"));
    QDir().mkpath(oursInto);

    std::vector<double> pack, extract, over, overChanged, peak;
    double packOurs = 0, packTheirs = 0, extractOurs = 0, extractTheirs = 0, overOurs = 0,
           overChangedOurs = 0;
    for (int round = 0; round < Rounds; ++round) {
        const TRun p = run({tool, QStringLiteral("pack"), QStringLiteral("--yes"), project, ours});
        const TRun q = shell(QStringLiteral("tar -cf - %1 2>/dev/null | gzip -9 > %2")
                                 .arg(tarInputs, quoted(theirs)));
        // Each extraction starts with the disk's work of the steps before it done.
        shell(QStringLiteral("rm -rf %1/ours %1/ours.js %2 && mkdir %2 && sync")
                  .arg(quoted(oursInto), quoted(theirsInto)));
        const TRun e = run({tool, QStringLiteral("extract"), QStringLiteral("--yes"),
                            QStringLiteral("--into"), oursInto, ours});
        shell(QStringLiteral("sync"));
        const TRun f =
            shell(QStringLiteral("tar -xzf %1 -C %2").arg(quoted(theirs), quoted(theirsInto)));
        shell(QStringLiteral("sync"));
        const TRun o = run({tool, QStringLiteral("extract"), QStringLiteral("--yes"),
                            QStringLiteral("--into"), oursInto, ours});
        // Files that differ, here by their time alone, cannot be shared with the new library.
        shell(
            QStringLiteral("find %1/ours -type f -exec touch {} + && sync").arg(quoted(oursInto)));
        const TRun c = run({tool, QStringLiteral("extract"), QStringLiteral("--yes"),
                            QStringLiteral("--into"), oursInto, ours});
        pack.push_back(p.Seconds / q.Seconds);
        extract.push_back(e.Seconds / f.Seconds);
        over.push_back(o.Seconds / e.Seconds);
        overChanged.push_back(c.Seconds / e.Seconds);
        peak.push_back(std::max({e.PeakMiB, o.PeakMiB, c.PeakMiB}));
        packOurs += p.Seconds / Rounds;
        packTheirs += q.Seconds / Rounds;
        extractOurs += e.Seconds / Rounds;
        extractTheirs += f.Seconds / Rounds;
        overOurs += o.Seconds / Rounds;
        overChangedOurs += c.Seconds / Rounds;
    }

    std::printf("library: %s, archives %.1f MB (ours) and %.1f MB (tar | gzip -9); %d rounds\n",
                generated ? "600 generated pictures" : qPrintable(project),
                QFileInfo(ours).size() / 1e6, QFileInfo(theirs).size() / 1e6, Rounds);
    std::printf(
        "pack              glyphbook %6.2f s   tar | gzip -9 %6.2f s (means)   median ratio "
        "%.2f (goal <= 1.00, was %s)\n",
        packOurs, packTheirs, median(pack), generated ? "not measured" : "2.0");
    std::printf(
        "extract           glyphbook %6.2f s   tar -xzf      %6.2f s (means)   median ratio "
        "%.2f (goal <= %s, was %s)\n",
        extractOurs, extractTheirs, median(extract), generated ? "0.50" : "1.00",
        generated ? "0.46 to 0.80" : "1.5 to 1.75");
    std::printf("extract over the earlier library %6.2f s   median ratio to an empty folder %.2f "
                "(goal <= 1.50, was 3)\n",
                overOurs, median(over));
    std::printf("  ... whose files all changed %6.2f s   median ratio to an empty folder %.2f "
                "(goal <= 1.50)\n",
                overChangedOurs, median(overChanged));
    std::printf("extract peak memory %.1f MiB (median; goal <= 64)\n", median(peak));
    return 0;
}
