#pragma once

// The suppression editor's icons, drawn by app/icons/make_supr_icons.py and
// compiled in as XPM data: tool-bar images (normal and greyed) and the row
// marks of its list.
namespace SuprIcons {
char** create();
char** createDisabled();
char** up();
char** upDisabled();
char** down();
char** downDisabled();
char** save();
char** saveDisabled();

char** suppress();
char** unsuppress();
char** check();
char** none();
}  // namespace SuprIcons
