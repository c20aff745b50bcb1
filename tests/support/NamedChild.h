#pragma once

#include <QObject>

/// The window's control, menu or panel that carries Name, the name the layout gives it; none
/// when the window has no such object (yet).
template <typename T> T *Named(const QObject &Window, const char *Name)
{
    return Window.findChild<T *>(QLatin1String(Name));
}
