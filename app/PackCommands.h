#pragma once

// The command-line tool's commands around packed libraries. Each receives its own arguments
// (the program first, then its name) and returns the exit status; failures are raised.

#include <QStringList>

/// glyphbook pack PROJECT.js ARCHIVE.tar.gz [--yes]
int runPack(const QStringList &arguments);
/// glyphbook extract ARCHIVE.tar.gz [--yes]: prints the project document's path.
int runExtract(const QStringList &arguments);
/// glyphbook list ARCHIVE.tar.gz
int runList(const QStringList &arguments);
