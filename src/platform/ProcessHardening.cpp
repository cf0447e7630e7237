#include "ProcessHardening.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace ProcessHardening {

bool apply()
{
    const struct rlimit noCore = {0, 0};
    const bool coreOff = ::setrlimit(RLIMIT_CORE, &noCore) == 0;
    const bool undumpable = ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
    return coreOff && undumpable;
}

} // namespace ProcessHardening
