#pragma once

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <functional>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

/// A line on stderr that tells how far a long piece of work has come. Only a terminal gets it,
/// so pipelines and tests stay clean, and only once the work has taken a second; it changes at
/// most ten times a second and is cleared before anything else is printed.
class TProgressLine
{
public:
    TProgressLine()
    {
#ifdef Q_OS_WIN
        FOn = _isatty(_fileno(stderr)) != 0;
#else
        FOn = isatty(fileno(stderr)) != 0;
#endif
        FClock.start();
    }
    ~TProgressLine()
    {
        End();
    }
    TProgressLine(const TProgressLine &) = delete;
    TProgressLine &operator=(const TProgressLine &) = delete;

    /// Shows what Text gives, when it is time to; Text is not called otherwise.
    void Show(const std::function<QString()> &Text)
    {
        if (!FOn || FClock.elapsed() < 1000 || (FShown && FLastShown.elapsed() < 100))
            return;
        const QByteArray line = Text().toUtf8();
        std::fprintf(stderr, "\r%-*s", FWidth, line.constData());
        std::fflush(stderr);
        FWidth = std::max(FWidth, int(line.size()));
        FShown = true;
        FLastShown.start();
    }

    void End()
    {
        if (FShown)
            std::fprintf(stderr, "\r%*s\r", FWidth, "");
        FShown = false;
    }

private:
    bool FOn = false;
    bool FShown = false;
    int FWidth = 0;
    QElapsedTimer FClock;
    QElapsedTimer FLastShown;
};
