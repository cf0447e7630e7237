#pragma once

// Picks the windowing platform before the application exists. Through X11 (Xwayland on a Wayland session) the
// window can stand at the lower right and stay on top; native Wayland remains the fallback where no X display is.
namespace PlatformChoice {

// Leaves a platform the user chose (QT_QPA_PLATFORM, -platform or --platform) as it is.
void apply(int argc, const char* const* argv);

} // namespace PlatformChoice
