#pragma once

// Whether the program can expect a screen to show its window on.
namespace DisplayPresence {

// On Linux a display server must be named (DISPLAY, WAYLAND_DISPLAY, or a Qt platform chosen
// by hand); Windows always has its desktop.
bool Available();

} // namespace DisplayPresence
