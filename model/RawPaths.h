#pragma once

// Paths whose bytes are not UTF-8. Qt's file names are text, and it turns such bytes into U+FFFD,
// so the name no longer leads to the file. Such a path is reached instead through a descriptor
// this process holds, by a name of the form "/proc/self/fd/N/rest" that Qt's file classes take
// like any other; the bytes are kept for what the user is shown. Paths in UTF-8 are left alone.

#include <QByteArray>
#include <QString>

/// Name as UTF-8 text with control characters and bytes that are no UTF-8 written as "\xNN", so
/// that it can be read on a terminal or in a message.
QString PrintableBytes(const QByteArray &Name);

/// A path by which Qt's file classes reach what the system reaches by Raw. Raw itself when it is
/// UTF-8 text. Otherwise the part up to the last folder whose name is not UTF-8 (or up to the
/// last "." or ".." part) is resolved and held open, and the rest follows it; a file whose own
/// name is not UTF-8 is held open itself, which lets it be read and replaced but names nothing
/// beside it (FolderOf does). Empty when there is no such path: that folder does not exist, or
/// the file does not and its own name is not UTF-8, so it cannot be made.
QString PathFromBytes(const QByteArray &Raw);

/// Path as the user knows it: a path from PathFromBytes with the bytes it stands for (the
/// resolved, absolute form), as PrintableBytes shows them; any other path unchanged.
QString ShownPath(const QString &Path);

/// How a path shown in a text is written.
enum class TShownPathText { Plain, JsonString };

/// Text with every path from PathFromBytes in it shown as ShownPath does; JsonString escapes
/// what it puts in for the inside of a JSON string.
QString WithShownPaths(const QString &Text, TShownPathText Form = TShownPathText::Plain);

/// Whether Path is one from PathFromBytes: it does not say what the user named.
bool IsHeldPath(const QString &Path);

/// Whether Path names a file that is held open itself because its own name is not UTF-8.
bool IsHeldFile(const QString &Path);

/// The folder of Path, absolute: for a held file, the folder it was found in.
QString FolderOf(const QString &Path);

/// The bytes of Path's own name (the part after its folder).
QByteArray FileNameBytes(const QString &Path);

/// QFileInfo::canonicalFilePath that loses nothing: when the real path is not UTF-8, the path
/// PathFromBytes gives for it, the same for every way to the same file. Empty when Path leads
/// to nothing.
QString CanonicalPath(const QString &Path);

/// Puts the complete file Written (a path Qt's classes take, in the same folder) in the place of
/// the held file Held, and holds the new file from then on. False with errno set on failure.
bool ReplaceHeldFile(const QString &Written, const QString &Held);
