#pragma once

#include <QFontMetrics>
#include <QString>

/// Text elided at its right to Width pixels, as Metrics.elidedText does it, but measuring only as
/// much of a long text as can show: Qt shapes the whole text first, and a contact sheet cell's
/// findings run to two hundred characters, of which some forty show (eliding them took 40% of
/// drawing a PNG page).
QString ElideRight(const QFontMetrics &Metrics, const QString &Text, int Width);
