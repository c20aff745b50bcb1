#pragma once

#include <QStringList>

/// glyphbook diff OLD NEW [--json]: status 0 when the libraries are the same, 1 when they
/// differ, 2 for trouble.
int runDiff(const QStringList &arguments);
