#pragma once

#include <string>

/// Watches every call of the process that creates, changes or removes a file system entry
/// (open for writing, mkdir, rename, link, symlink, unlink, chmod, ...). While armed, such a call
/// on a path outside the allowed folder, a symbolic link created anywhere, or a write through a
/// link that leads outside, aborts the process before the call is made: the fuzzer reports it
/// as a crash, and nothing is written.
namespace WriteGuard
{
/// Arms the guard; only paths inside Folder (an absolute path without links) may be changed.
void Arm(const std::string &Folder);
void Disarm();
} // namespace WriteGuard
