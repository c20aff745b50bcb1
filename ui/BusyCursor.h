#pragma once

#include <QApplication>

/// The application-wide busy cursor for as long as the guard lives, restored on every way out.
/// Restore and Show let a question or message in between show the normal cursor.
class TBusyCursor
{
public:
    TBusyCursor() { Show(); }
    ~TBusyCursor() { Restore(); }
    TBusyCursor(const TBusyCursor &) = delete;
    TBusyCursor &operator=(const TBusyCursor &) = delete;

    void Show()
    {
        if (!FShown)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        FShown = true;
    }

    void Restore()
    {
        if (FShown)
            QApplication::restoreOverrideCursor();
        FShown = false;
    }

private:
    bool FShown = false;
};
