#include "PlatformChoice.h"

#include <cstdlib>
#include <cstring>

void PlatformChoice::apply(int argc, const char* const* argv)
{
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    if (chosen && *chosen) {
        return;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return;
        }
    }
    ::setenv("QT_QPA_PLATFORM", "xcb;wayland", 1);
}
