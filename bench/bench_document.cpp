// Library document speed and memory against Qt's own JSON on the very same file.
//
// Builds a library of 20,000 symbols, then times SaveToFile and LoadFromFile, and reading the
// same file with QJsonDocument::fromJson and writing it back with toJson. The peak memory of a
// load is measured in a fresh child process so that nothing of the benchmark itself counts.

#include "model/ViraSymbol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int SymbolCount = 20000;
constexpr int Rounds = 5;

TViraGlyphbook buildLibrary()
{
    static const char *const kinds[] = {"valve", "pump", "motor", "tank", "fan", "sensor"};
    TViraGlyphbook book;
    for (int i = 0; i < SymbolCount; ++i) {
        auto symbol = std::make_shared<TViraSymbol>();
        const QString kind = QLatin1String(kinds[i % 6]);
        const QString number = QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0'));
        const QString folder = QStringLiteral("C:\\Projects\\Water Plant\\Graphics\\%1\\").arg(kind);
        symbol->Identifier = kind + u'_' + number;
        symbol->Image = folder + kind + u'_' + number + QStringLiteral(".png");
        symbol->Symbol = true;
        symbol->ImageX = 16 + i % 32;
        symbol->ImageY = 24 + i % 17;
        symbol->TextX = -(i % 40);
        symbol->TextY = 48;
        symbol->TextAlign = TVSTextAlign(i % 3);
        symbol->Names = {{QStringLiteral("en"), kind + QStringLiteral(" no. ") + number},
                         {QStringLiteral("sv"), kind + QStringLiteral(" nr ") + number}};
        symbol->StateImages = {
            {QStringLiteral("1"), folder + kind + u'_' + number + QStringLiteral("_run.png")},
            {QStringLiteral("Alarm"), folder + kind + u'_' + number + QStringLiteral("_alarm.gif")},
            {QStringLiteral("MO"), folder + kind + u'_' + number + QStringLiteral("_manual.png")}};
        book.Symbols.append(symbol);
    }
    return book;
}

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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == u"--measure-load")
        return measureLoad(args[2], args[3]);

    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("library.js"));
    const QString theirs = dir.filePath(QStringLiteral("qt.js"));

    TViraGlyphbook book = buildLibrary();
    const double save = bestOf([&] { book.SaveToFile(ours); });
    const double load = bestOf([&] {
        TViraGlyphbook loaded;
        loaded.LoadFromFile(ours);
        if (loaded.Symbols.size() != SymbolCount)
            qFatal("the load lost symbols");
    });

    const QJsonDocument document = qtLoad(ours);
    const double qtParse = bestOf([&] { qtLoad(ours); });
    const double qtWrite = bestOf([&] { writeAtomically(theirs, document.toJson(QJsonDocument::Indented)); });

    const qint64 size = QFileInfo(ours).size();
    const long peakOurs = peakOfLoadKiB(QStringLiteral("ours"), ours);
    const long peakQt = peakOfLoadKiB(QStringLiteral("qt"), ours);

    std::printf("symbols               %d\n", SymbolCount);
    std::printf("file size             %.2f MiB (%lld bytes)\n", size / 1048576.0, size);
    std::printf("SaveToFile            %8.1f ms   Qt toJson + write   %8.1f ms   ratio %.2f (goal <= 2.0)\n",
                save, qtWrite, save / qtWrite);
    std::printf("LoadFromFile          %8.1f ms   Qt read + fromJson  %8.1f ms   ratio %.2f (goal <= 2.0)\n",
                load, qtParse, load / qtParse);
    std::printf("peak memory of a load %8.1f MiB = %.2fx the file (goal < 8x); Qt's parse %.1f MiB = %.2fx\n",
                peakOurs / 1024.0, peakOurs * 1024.0 / double(size), peakQt / 1024.0,
                peakQt * 1024.0 / double(size));
    return 0;
}
