// Library check speed at 20,000 symbols with four images each, every image a real file.
//
// Prints the time of a whole check with nothing known about the files (each one examined and
// its start decoded), of a whole check with the files known, and of re-checks after one symbol
// changed (the slowest of five different changes): its identifier, a name, one of its images,
// a symbol appended, and a symbol removed.

#include "check/LibraryCheck.h"
#include "model/ViraSymbol.h"
#include "render/PictureFiles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{

constexpr int SymbolCount = 20000;
constexpr int Rounds = 5;

QByteArray smallPng()
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TViraGlyphbook buildLibrary(const QString &root)
{
    static const char *const kinds[] = {"valve", "pump", "motor", "tank", "fan", "sensor"};
    const QByteArray png = smallPng();
    TViraGlyphbook book;
    for (int i = 0; i < SymbolCount; ++i) {
        const QString kind = QLatin1String(kinds[i % 6]);
        const QString name = kind + QStringLiteral("_%1").arg(i, 5, 10, QLatin1Char('0'));
        const QString folder = root + u'/' + kind + u'/';
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = name;
        symbol->Symbol = true;
        symbol->Image = folder + name + QStringLiteral(".png");
        symbol->Names = {{QStringLiteral("en"), name}, {QStringLiteral("sv"), name}};
        symbol->StateImages = {
            {QStringLiteral("1"), folder + name + QStringLiteral("_1.png")},
            {QStringLiteral("Alarm"), folder + name + QStringLiteral("_alarm.png")},
            {QStringLiteral("MO"), folder + name + QStringLiteral("_mo.png")}};
        QDir().mkpath(folder);
        for (const QString &path : {symbol->Image, symbol->StateImages[0].Value,
                                    symbol->StateImages[1].Value, symbol->StateImages[2].Value}) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size())
                qFatal("cannot write %s", qPrintable(path));
        }
        book.Symbols.append(symbol);
    }
    return book;
}

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The best of several rounds, in milliseconds.
double bestOf(const std::function<void()> &work)
{
    double best = 1e300;
    for (int round = 0; round < Rounds; ++round)
        best = std::min(best, millisecondsOf(work));
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::printf("Building %d symbols with %d image files...\n", SymbolCount, SymbolCount * 4);
    TViraGlyphbook book = buildLibrary(dir.path());
    TLibraryCheck check({dir.filePath(QStringLiteral("lib.js")),
                         {QStringLiteral("en"), QStringLiteral("sv")},
                         IsReadablePicture});

    const double cold = millisecondsOf([&] { check.Check(book); });
    const double warm = bestOf([&] { check.Check(book); });
    std::printf("whole check, files examined:   %8.1f ms (%d findings)\n", cold, check.Count());
    std::printf("whole check, files known:      %8.1f ms\n", warm);

    // Each round makes a different change, so that every one is real work; the slowest counts.
    const int middle = SymbolCount / 2;
    const auto slowestOf = [&](const std::function<void(int round)> &change) {
        double slowest = 0;
        for (int round = 1; round <= Rounds; ++round) {
            change(round);
            slowest = std::max(slowest, millisecondsOf([&] { check.Recheck(book, middle); }));
        }
        return slowest;
    };
    std::printf("re-check, identifier changed:  %8.1f ms\n", slowestOf([&](int round) {
                    book.Symbols[middle]->Identifier = book.Symbols[round * 7]->Identifier;
                }));
    std::printf("re-check, name changed:        %8.1f ms\n", slowestOf([&](int round) {
                    book.Symbols[middle]->Names[0].Value = QString(round, u'n');
                }));
    std::printf("re-check, image changed:       %8.1f ms\n", slowestOf([&](int round) {
                    book.Symbols[middle]->StateImages[0].Value = book.Symbols[round * 7]->Image;
                }));
    double appended = 0;
    for (int round = 1; round <= Rounds; ++round) {
        book.AddCopy(*book.Symbols[round]);
        appended = std::max(
            appended, millisecondsOf([&] { check.Recheck(book, int(book.Symbols.size()) - 1); }));
    }
    std::printf("re-check, symbol appended:     %8.1f ms (%d findings)\n", appended, check.Count());
    double removed = 0;
    for (int round = 1; round <= Rounds; ++round) {
        const int index = round * 1000;
        book.Symbols.removeAt(index);
        removed = std::max(removed, millisecondsOf([&] { check.Remove(book, index); }));
    }
    std::printf("symbol removed:                %8.1f ms (%d findings)\n", removed, check.Count());
    return 0;
}
