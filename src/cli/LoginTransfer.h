#pragma once

// `--import FILE [--dry-run]` and `--export FILE`: the logins of this user's data folder in and out
// as CSV, from a terminal or a script, with no window and no display. The report is in English, as
// --help is.
namespace LoginTransfer {

// The exit status when the arguments ask for an import or export; -1 when they do not.
int answer(int argc, const char* const* argv);

} // namespace LoginTransfer
