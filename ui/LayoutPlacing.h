#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QRect>

/// Object, given Name: the controls carry the names of the layout, so they can be found by name.
template <typename T> T *named(T *Object, const char *Name)
{
    Object->setObjectName(QLatin1String(Name));
    return Object;
}

/// A label at Left, Top, as wide as its text.
inline QLabel *placeLabel(const char *Name, const QString &Text, int Left, int Top, QWidget *Parent)
{
    auto *label = named(new QLabel(Text, Parent), Name);
    label->move(Left, Top);
    label->adjustSize();
    return label;
}

inline QLineEdit *placeEdit(const char *Name, const QString &Text, const QRect &Geometry,
                            QWidget *Parent)
{
    auto *edit = named(new QLineEdit(Text, Parent), Name);
    edit->setGeometry(Geometry);
    return edit;
}

/// A button (push button, check box, radio button) of the kind Button.
template <typename Button>
Button *placeButton(const char *Name, const QString &Text, const QRect &Geometry, QWidget *Parent)
{
    auto *button = named(new Button(Text, Parent), Name);
    button->setGeometry(Geometry);
    return button;
}
