#pragma once

#include <QByteArray>

// Where the data files live. Beside the program wherever its folder is the user's to write (a
// build, an install into the home folder, a stick); a system-wide install (under /usr or /opt, the
// package's or `sudo cmake --install`'s) or a folder the user may not write keeps them in the
// user's own $XDG_DATA_HOME/Sitewarden instead, so that nothing is ever written there, even by root.
namespace DataFolder {

// The folder's path as bytes, made (mode 700) when it is the per-user one and missing; empty when
// there is none to use: no home, a file in its place, or a folder of another owner or open to others.
QByteArray choose(const QByteArray& programFolder);

} // namespace DataFolder
