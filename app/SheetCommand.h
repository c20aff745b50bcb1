#pragma once

#include <QStringList>

/// glyphbook sheet PROJECT.js OUT.html|OUT.png [--language CODE]
int runSheet(const QStringList &arguments);
