#pragma once

#include "ui/GlyphbookDialogs.h"

#include <QObject>

#include <functional>

/// Runs the window's event handlers and commands: a failure that escapes one is shown in the
/// standard error message and the program goes on. No exception crosses the event loop.
class TErrorGuard
{
public:
    explicit TErrorGuard(TGlyphbookDialogs &Dialogs) : FDialogs(Dialogs) {}

    void Run(const std::function<void()> &Handler) const;
    TGlyphbookDialogs &Dialogs() const { return FDialogs; }

    /// Connects Source's Signal to Handler, run inside the guard.
    template <typename Sender, typename Signal, typename Handler>
    void Connect(Sender *Source, Signal SignalPtr, QObject *Context, Handler Body) const
    {
        QObject::connect(Source, SignalPtr, Context, [this, Body] { Run(Body); });
    }

private:
    TGlyphbookDialogs &FDialogs;
};
