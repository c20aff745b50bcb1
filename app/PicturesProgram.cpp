// The commands that decode or draw pictures, as the tool runs them: in a second program that
// links Qt's GUI libraries, so that every other command starts without loading them. That
// program is the whole tool (glyphbook_cli.cpp with every command) and is given the command
// line exactly as this one was, its bytes and its first argument included.

#include "app/CheckCommand.h"
#include "app/CliSupport.h"
#include "app/DiffCommand.h"
#include "app/SheetCommand.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <vector>

#include <unistd.h>

namespace
{

/// The command line as the system gave it. Qt takes its own options out of argv and decodes
/// the rest, so the bytes are read back from the kernel.
QList<QByteArray> originalArguments()
{
    QFile file(QStringLiteral("/proc/self/cmdline"));
    if (file.open(QIODevice::ReadOnly)) {
        QList<QByteArray> arguments = file.readAll().split('\0');
        if (!arguments.isEmpty() && arguments.constLast().isEmpty())
            arguments.removeLast(); // after the last argument's terminator
        if (!arguments.isEmpty())
            return arguments;
    }
    QList<QByteArray> arguments;
    for (const QString &argument : QCoreApplication::arguments())
        arguments.append(argument.toLocal8Bit());
    return arguments;
}

int runInPicturesProgram(const QStringList &arguments)
{
    const QString program = QCoreApplication::applicationDirPath() +
                            QStringLiteral("/" GLYPHBOOK_PICTURES_FROM_BIN "/glyphbook");
    QList<QByteArray> given = originalArguments();
    std::vector<char *> argv;
    for (QByteArray &argument : given)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    std::fflush(stderr);
    execv(QFile::encodeName(program).constData(), argv.data());
    printError(QStringLiteral("cannot run '%1': its program \"%2\" cannot be started (%3). The "
                              "installation is incomplete.")
                   .arg(arguments.value(1), program, QString::fromLocal8Bit(std::strerror(errno))));
    return ExitFailure;
}

} // namespace

int runCheck(const QStringList &arguments)
{
    return runInPicturesProgram(arguments);
}

int runSheet(const QStringList &arguments)
{
    return runInPicturesProgram(arguments);
}

int runDiff(const QStringList &arguments)
{
    return runInPicturesProgram(arguments);
}
