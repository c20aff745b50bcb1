#include "ui/CentredGroupBox.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace
{
// Blank space either side of the caption, where the frame line is broken.
constexpr int kCaptionGap = 3;
} // namespace

TCentredGroupBox::TCentredGroupBox(const QString &Title, QWidget *Parent) : QGroupBox(Title, Parent)
{
    setAlignment(Qt::AlignHCenter);
}

void TCentredGroupBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int captionWidth = metrics.horizontalAdvance(title()) + 2 * kCaptionGap;
    const QRect caption((width() - captionWidth) / 2, 0, captionWidth, metrics.height());

    // An etched line; the styles' own group frames place themselves below the caption.
    painter.save();
    painter.setClipRegion(QRegion(rect()) - QRegion(caption));
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true, 1, 0);
    painter.restore();

    style()->drawItemText(&painter, caption, Qt::AlignCenter, palette(), isEnabled(), title(),
                          QPalette::WindowText);
}
