#pragma once

#include <X11/Intrinsic.h>

// The app-defaults of the application class, compiled in: the toolkit uses
// them when no app-defaults file is installed, so a build run from its own
// tree looks the same as an installed one.
String* lumoxFallbackResources();
