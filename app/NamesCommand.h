#pragma once

#include <QStringList>

/// glyphbook names export PROJECT.js OUT.csv | names import PROJECT.js IN.csv [--dry-run]
int runNames(const QStringList &arguments);
