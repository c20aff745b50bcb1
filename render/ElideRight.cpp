#include "render/ElideRight.h"

#include <algorithm>

QString ElideRight(const QFontMetrics &Metrics, const QString &Text, int Width)
{
    // Half as many again as fit at the average width, and some: the last characters measured
    // may be shaped otherwise than in the whole text (kerning, joined letters), so the cut
    // counts only where it falls well before them.
    constexpr qsizetype kSpare = 16;
    const qsizetype measured =
        qsizetype(Width) * 3 / std::max(1, 2 * Metrics.averageCharWidth()) + kSpare;
    if (Text.size() > measured) {
        const QString head = Text.left(measured);
        const QString elided = Metrics.elidedText(head, Qt::ElideRight, Width);
        if (elided != head && elided.size() <= measured - kSpare)
            return elided;
    }
    return Metrics.elidedText(Text, Qt::ElideRight, Width);
}
