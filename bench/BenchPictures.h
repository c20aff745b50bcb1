#pragma once

// Pictures and child processes for the benchmarks that run the command-line tool.

#include <QByteArray>
#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

extern char **environ;

/// A picture with gradients, shapes and sensor-like noise, so that it compresses as real ones do.
inline QImage makePicture(QRandomGenerator &random, int width, int height, int noise)
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

struct TRun {
    double Seconds;
    double PeakMiB;
    double CpuSeconds; // user and system, on every core
};

/// Runs a program to its end: its wall time, the processor time it took and the peak of its
/// resident set. Output, when given, receives what it printed on stdout.
inline TRun run(const QStringList &command, QByteArray *Output = nullptr)
{
    std::vector<QByteArray> args;
    for (const QString &arg : command)
        args.push_back(arg.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int pipeEnds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (Output) {
        if (pipe(pipeEnds) != 0)
            qFatal("cannot make a pipe");
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    }
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        qFatal("cannot start %s", argv[0]);
    posix_spawn_file_actions_destroy(&actions);
    if (Output) {
        close(pipeEnds[1]);
        char buffer[4096];
        for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
            Output->append(buffer, n);
        close(pipeEnds[0]);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qFatal("%s failed", qPrintable(command.join(u' ')));
    const auto seconds = [](const timeval &time) { return time.tv_sec + time.tv_usec / 1e6; };
    return {clock.nsecsElapsed() / 1e9, usage.ru_maxrss / 1024.0,
            seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}
