// Packs and extracts a library of 2,000 symbols with about 150 MB of PNG and JPEG images, with
// the command-line tool and with the shell pipeline `tar -cf - | gzip -9` / `tar -xzf`, and
// prints the times and their ratios. The generated library is kept between runs (its creation
// takes a minute); each step is measured a few times and the best time kept, which damps the
// noise of a shared machine.
#include "model/ViraSymbol.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace
{

constexpr int Rounds = 3;
constexpr int SymbolCount = 2000;
constexpr qint64 TargetBytes = 150'000'000;

/// A picture with gradients, shapes and sensor-like noise, so that it compresses as real ones do.
QImage makePicture(QRandomGenerator &random, int width, int height, int noise)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor::fromHsv(random.bounded(360), 120, 220));
    gradient.setColorAt(1, QColor::fromHsv(random.bounded(360), 200, 90));
    painter.fillRect(image.rect(), gradient);
    for (int i = random.bounded(3, 12); i > 0; --i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 180, 200, 160));
        painter.drawEllipse(random.bounded(width), random.bounded(height),
                            random.bounded(width / 2 + 1), random.bounded(height / 2 + 1));
    }
    painter.end();
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int d = random.bounded(2 * noise + 1) - noise;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + d, 0, 255), std::clamp(qGreen(p) + d, 0, 255),
                           std::clamp(qBlue(p) + d, 0, 255));
        }
    }
    return image;
}

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

double seconds(const QString &program, const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        std::exit(1);
    }
    return clock.nsecsElapsed() / 1e9;
}

double best(const std::function<double()> &run)
{
    double result = 1e30;
    for (int i = 0; i < Rounds; ++i)
        result = std::min(result, run());
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // painting the pictures needs no screen
    QGuiApplication app(argc, argv);
    const QString project = ensureLibrary(QStringLiteral(BENCH_DATA "/pack-library"));
    const QString images = QFileInfo(project).absolutePath();
    const QString tool = QStringLiteral(GLYPHBOOK_CLI);
    QTemporaryDir work;
    const QString dir = work.path();
    const QString shell = QStringLiteral("/bin/sh");

    const double packOurs = best([&] {
        return seconds(tool,
                       {QStringLiteral("pack"), QStringLiteral("--yes"), project,
                        QStringLiteral("ours.tar.gz")},
                       dir);
    });
    const double packTheirs = best([&] {
        return seconds(
            shell,
            {QStringLiteral("-c"), QStringLiteral("tar -cf - -C '%1' images project.js | gzip -9 > "
                                                  "theirs.tar.gz")
                                       .arg(images)},
            dir);
    });
    const double extractOurs = best([&] {
        return seconds(
            tool,
            {QStringLiteral("extract"), QStringLiteral("--yes"), QStringLiteral("ours.tar.gz")},
            dir);
    });
    const double extractTheirs = best([&] {
        return seconds(shell,
                       {QStringLiteral("-c"), QStringLiteral("rm -rf theirs && mkdir theirs && "
                                                             "tar -xzf theirs.tar.gz -C theirs")},
                       dir);
    });

    const qint64 oursSize = QFileInfo(dir + QStringLiteral("/ours.tar.gz")).size();
    const qint64 theirsSize = QFileInfo(dir + QStringLiteral("/theirs.tar.gz")).size();
    std::printf("library: %d symbols, archives %.1f MB (ours) and %.1f MB (tar | gzip -9)\n",
                SymbolCount, oursSize / 1e6, theirsSize / 1e6);
    std::printf("pack     glyphbook %6.2f s   tar | gzip -9 %6.2f s   ratio %.2f (goal <= 1.00)\n",
                packOurs, packTheirs, packOurs / packTheirs);
    std::printf("extract  glyphbook %6.2f s   tar -xzf      %6.2f s   ratio %.2f (goal <= 1.10)\n",
                extractOurs, extractTheirs, extractOurs / extractTheirs);
    return 0;
}
