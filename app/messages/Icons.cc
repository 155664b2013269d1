#include "app/messages/Icons.h"

// The XPM files are C source: each defines one static array.
#include "app/icons/next.xpm"
#include "app/icons/next_dis.xpm"
#include "app/icons/prev.xpm"
#include "app/icons/prev_dis.xpm"
#include "app/icons/delete.xpm"
#include "app/icons/delete_dis.xpm"
#include "app/icons/suppress.xpm"
#include "app/icons/suppress_dis.xpm"
#include "app/icons/build.xpm"
#include "app/icons/rebuild.xpm"
#include "app/icons/build_dis.xpm"
#include "app/icons/help.xpm"
#include "app/icons/help_dis.xpm"
#include "app/icons/exit.xpm"
#include "app/icons/exit_dis.xpm"
#include "app/icons/bug.xpm"
#include "app/icons/leak.xpm"
#include "app/icons/signal.xpm"
#include "app/icons/summary.xpm"
#include "app/icons/zx.xpm"
#include "app/icons/active.xpm"

static char** data(const char** xpm) { return const_cast<char**>(xpm); }

namespace Icons {
char** next() { return data(next_xpm); }
char** nextDisabled() { return data(next_dis_xpm); }
char** prev() { return data(prev_xpm); }
char** prevDisabled() { return data(prev_dis_xpm); }
char** remove() { return data(delete_xpm); }
char** removeDisabled() { return data(delete_dis_xpm); }
char** suppress() { return data(suppress_xpm); }
char** suppressDisabled() { return data(suppress_dis_xpm); }
char** build() { return data(build_xpm); }
char** rebuild() { return data(rebuild_xpm); }
char** buildDisabled() { return data(build_dis_xpm); }
char** help() { return data(help_xpm); }
char** helpDisabled() { return data(help_dis_xpm); }
char** exit() { return data(exit_xpm); }
char** exitDisabled() { return data(exit_dis_xpm); }
char** bug() { return data(bug_xpm); }
char** leak() { return data(leak_xpm); }
char** signal() { return data(signal_xpm); }
char** summary() { return data(summary_xpm); }
char** zx() { return data(zx_xpm); }
char** active() { return data(active_xpm); }
}  // namespace Icons
