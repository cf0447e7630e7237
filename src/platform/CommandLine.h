#pragma once

// What a start from a terminal asks before there is any window: --help and --version are answered
// on standard output, and a start with no display at all says so in one line rather than through
// Qt's abort. An import or export (see LoginTransfer) goes on without one. Qt's own options (-platform, -display) and
// any other argument start the program.
namespace CommandLine {

// The exit status when the program is to end here; -1 when it is to start.
int answer(int argc, const char* const* argv);

} // namespace CommandLine
