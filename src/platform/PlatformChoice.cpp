#include "PlatformChoice.h"

#include <cstdlib>
#include <cstring>

bool PlatformChoice::userChose(int argc, const char* const* argv)
{
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    if (chosen && *chosen) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return true;
        }
    }
    return false;
}

bool PlatformChoice::apply(int argc, const char* const* argv)
{
    if (userChose(argc, argv)) {
        return false;
    }
    ::setenv("QT_QPA_PLATFORM", "xcb;wayland", 1);
    return true;
}

void PlatformChoice::restore(bool applied)
{
    if (applied) {
        ::unsetenv("QT_QPA_PLATFORM");
    }
}
