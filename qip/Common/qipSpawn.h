#pragma once

#include <sys/types.h>

// Starts `body` in a new process that nobody has to wait for: a short-lived
// intermediate child forks the real one and exits at once, so the program's
// commands (the editor, a rebuild) never pile up as zombies. `body` runs in
// the new process and must end it (exec, or _exit). Returns the new process's
// id, or -1 when a fork failed.
pid_t qipSpawnDetached(void (*body)(void* data), void* data);
