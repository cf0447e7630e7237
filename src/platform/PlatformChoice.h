#pragma once

// Picks the windowing platform before the application exists. Through X11 (Xwayland on a Wayland session) the
// window can stand at the lower right and stay on top; native Wayland remains the fallback where no X display is.
namespace PlatformChoice {

// Whether the user chose a platform: QT_QPA_PLATFORM, -platform or --platform.
bool userChose(int argc, const char* const* argv);

// Leaves a platform the user chose as it is. True when it made the choice.
bool apply(int argc, const char* const* argv);

// Once the application exists: the choice was the program's own, so the programs it starts (the
// browser) get the user's environment back.
void restore(bool applied);

} // namespace PlatformChoice
