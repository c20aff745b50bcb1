#pragma once

#include <QGroupBox>

/// A group box whose caption stands centred on the frame's top edge, the frame line broken
/// behind it, in every style (Fusion would place the caption above the frame).
class TCentredGroupBox : public QGroupBox
{
public:
    TCentredGroupBox(const QString &Title, QWidget *Parent);

protected:
    void paintEvent(QPaintEvent *Event) override;
};
