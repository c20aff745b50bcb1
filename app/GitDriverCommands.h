#pragma once

#include <QStringList>

/// glyphbook show LIBRARY: one line per symbol with every field.
int runShow(const QStringList &arguments);
/// glyphbook merge BASE OURS THEIRS -o OUT: status 0 when clean, 1 with conflicts (OUT written
/// all the same), 2 for trouble (OUT untouched).
int runMerge(const QStringList &arguments);
