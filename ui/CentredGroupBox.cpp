#include "ui/CentredGroupBox.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

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

    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, metrics.height() / 2, 0, 0);
    frame.lineWidth = 1;
    frame.midLineWidth = 0;
    painter.save();
    painter.setClipRegion(QRegion(rect()) - QRegion(caption));
    style()->drawPrimitive(QStyle::PE_FrameGroupBox, &frame, &painter, this);
    painter.restore();

    style()->drawItemText(&painter, caption, Qt::AlignCenter, palette(), isEnabled(), title(),
                          QPalette::WindowText);
}
