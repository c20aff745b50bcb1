// Compresses one stream with zlib at level 9 (one thread, in the chunks the archive writer uses)
// and with the parallel deflate, checks that the bytes are the same, and prints the times:
//   bench_deflate [FILE]   (without FILE: 16 MB of generated text and noise)
// An uncompressed archive makes a good FILE: gzip -dc library.tar.gz > library.tar
#include "tests/ChunkedDeflate.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <random>

namespace
{

constexpr int Rounds = 5;

QByteArray generated()
{
    std::mt19937 random(11);
    QByteArray bytes;
    const char *words[] = {"symbol ", "anchor ", "image ", "\"name\": ", "{\"x\": 12, ", "state "};
    while (bytes.size() < (16 << 20)) {
        if (random() % 3 == 0) {
            for (int i = 0; i < 4096; ++i)
                bytes += char(random());
        } else {
            for (int i = 0; i < 600; ++i)
                bytes += words[random() % 6];
        }
    }
    return bytes;
}

template <typename F> double best(F &&Run, QByteArray &Result)
{
    double seconds = 1e9;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        Result = Run();
        seconds = std::min(seconds, double(timer.nsecsElapsed()) / 1e9);
    }
    return seconds;
}

} // namespace

int main(int argc, char **argv)
{
    QByteArray input;
    if (argc > 1) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", argv[1]);
            return 2;
        }
        input = file.readAll();
    } else {
        input = generated();
    }
    QByteArray expected, actual;
    const double zlib = best([&] { return ZlibInChunks(input); }, expected);
    std::printf("%.1f MB in, %.1f MB out; best of %d\n", input.size() / 1e6, expected.size() / 1e6,
                Rounds);
    std::printf("zlib level 9, one thread     %.3f s\n", zlib);
    for (const int threads : {1, 2, 0}) {
        const double t = best([&] { return ParallelInChunks(input, threads); }, actual);
        std::printf("parallel, %s  %.3f s  %.2fx zlib  %s\n",
                    threads ? (threads == 1 ? "1 matching thread " : "2 matching threads")
                            : "one per processor ",
                    t, t / zlib, actual == expected ? "same bytes" : "BYTES DIFFER");
        if (actual != expected)
            return 1;
    }
    return 0;
}
