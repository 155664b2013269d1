#pragma once

// The icons drawn by app/icons/make_icons.py, compiled in as XPM data: the
// tool-bar images (normal and greyed) and the annotations of the header list.
namespace Icons {
char** next();
char** nextDisabled();
char** prev();
char** prevDisabled();
char** remove();
char** removeDisabled();
char** suppress();
char** suppressDisabled();
char** build();
char** rebuild();
char** buildDisabled();
char** help();
char** helpDisabled();
char** exit();
char** exitDisabled();

char** bug();
char** leak();
char** signal();
char** summary();
char** zx();
char** active();
}  // namespace Icons
