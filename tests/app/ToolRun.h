#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

/// What one run of the command-line tool gave.
struct TRun {
    int Status = -1;
    QString Out;
    QString Err;
};

/// Runs the command-line tool in folder (the test program's when empty) as a script runs it:
/// with no terminal and only input (often nothing) to read, so questions get no answer.
inline TRun
runTool(const QStringList &arguments, const QString &folder = QString(),
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
        const QByteArray &input = QByteArray())
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(GLYPHBOOK_CLI), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
