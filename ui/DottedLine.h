#pragma once

#include <QColor>
#include <QWidget>

/// A 1-px dotted line filling its widget, horizontal or vertical by the widget's shape.
class TDottedLine : public QWidget
{
public:
    TDottedLine(QColor Color, QWidget *Parent);

protected:
    void paintEvent(QPaintEvent *Event) override;

private:
    QColor FColor;
};
