#pragma once

// Child processes for the benchmarks that run the command-line tool.

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char **environ;

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
