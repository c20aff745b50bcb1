#include "ui/DottedLine.h"

#include <QPainter>

TDottedLine::TDottedLine(QColor Color, QWidget *Parent) : QWidget(Parent), FColor(Color)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TDottedLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QPen pen(FColor, 1, Qt::DotLine);
    painter.setPen(pen);
    if (width() >= height())
        painter.drawLine(0, 0, width() - 1, 0);
    else
        painter.drawLine(0, 0, 0, height() - 1);
}
