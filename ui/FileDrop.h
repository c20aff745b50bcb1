#pragma once

#include <QStringList>

#include <functional>

class QEvent;
class QObject;
class TErrorGuard;

/// Takes the drag and drop events of a drop target: picture files dropped go to AddPictures,
/// other files are refused with one message. Both happen once the drop has returned, so the
/// desktop's drag ends before any message. Returns true when Event was one of them.
bool HandleFileDrop(QEvent *Event, QObject *Context, const TErrorGuard &Guard,
                    const std::function<void(const QStringList &Pictures)> &AddPictures);
