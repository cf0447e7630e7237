#pragma once

#include <QByteArray>
#include <QString>

// Where the data files live. Data files beside the program are the user's, whether that folder may
// be written or not (a write-protected stick, a read-only share), and so is a program folder the
// user may write (a build, an install into the home folder). A system-wide install (under /usr or
// /opt, the package's or `sudo cmake --install`'s), or a folder the user may not write that holds no
// data file, keeps them in the user's own $XDG_DATA_HOME/Sitewarden instead, so that nothing is
// ever written there, even by root.
namespace DataFolderRule {

// Why the per-user folder cannot be used.
enum class Problem {
    None,
    NoHome,
    NotAFolder,
    OtherOwner,
    // It could not be made, or made private; `error` says why.
    Unusable,
};

struct Choice
{
    // The folder's path as bytes; empty when the program's folder is unknown. Only a choice without
    // a problem is used.
    QByteArray path;
    bool perUser = false;
    Problem problem = Problem::None;
    int error = 0;
};

// Where the data of a program in `programFolder` lives; nothing is made or changed. For the per-user
// folder, `path` is where it is or would be made.
Choice locate(const QByteArray& programFolder);

// As locate(), and a per-user folder is made for the user alone, or made private where the user
// made it open to others; `problem` says why it cannot be used.
Choice prepare(const QByteArray& programFolder);

// A sentence for the user on why the folder cannot be used.
QString explain(const Choice& choice);

} // namespace DataFolderRule
