#pragma once

#include <QStringList>

/// glyphbook check PROJECT.js [--language CODE]...: status 1 when it reports anything.
int runCheck(const QStringList &arguments);
