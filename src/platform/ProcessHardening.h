#pragma once

// The process holds every password in clear: no core file, and no other process of the same
// user may attach a debugger or read its memory.
namespace ProcessHardening {

// True when both took effect.
bool apply();

} // namespace ProcessHardening
