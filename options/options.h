#pragma once

#include <cstddef>

// The option-file reader shared with the rest of the tool family. It finds
// the standard option files (".torvane", then ".qnrc", in the installation's
// architecture directory, the installation directory, HOME and "."), reads
// them line by line and hands every option meant for this tool to a callback.
// State lives in the globals below: one read at a time, not re-entrant.
// Everything is in namespace tvopt, so basename() and stricmp() never meet
// the C library's functions of the same names.
namespace tvopt {

// Called with (tool, option, value); all three are the reader's buffers,
// valid only during the call (the callee may cut them up, e.g. with
// fetch_token). At the start of each file the callback gets three empty
// strings, whether or not that file exists.
typedef void (*OptionCallback)(char* tool, char* option, char* value);

// One row of the keyword table: a smushed option name and its flag bits.
struct OptionEntry {
    const char* name;
    int flags;
};
enum {
    OPT_SMUSH_VALUE = 1,  // the value is smushed like the name
    OPT_OLD_FILE_MASK = 14  // kinds of old-style file the option is valid in
};

// Which source is being read (current_torvane_file).
enum { SRC_ARCH_DIR = 0, SRC_INSTALL_DIR = 1, SRC_HOME = 2, SRC_CWD = 3, SRC_FILE = 4, SRC_LINE = 5 };

extern char* option_file;        // path being read; null when none
extern long option_line;         // physical line last read; -1 outside a file
extern int old_option_file;      // 1 while a ".torvane" file is read
extern int current_torvane_file; // SRC_...
extern char* this_tool;          // set_tool_name()
extern char** read_other_tools;  // set_tool_alias()
extern int n_read_other_tools;
extern int implicit_prefix;      // unprefixed options count as this_tool's
extern int allow_all_options;    // accept any option name
extern int dont_preprocess_options;  // pass raw names with an empty tool
extern int inhibit_error_messages;
extern int read_options_verbose; // report each file tried on stdout
extern const OptionEntry* extra_options;
extern int num_extra_options;

// Reads all standard option files in order; the number of files that could
// be opened. A file that two places name (the installation in HOME, a
// program run in HOME) is read once, at the later place.
int _Torvane_read_options(OptionCallback cb);
// The same for the sources up to `last_source` (SRC_HOME: all but the
// working directory's files).
int _Torvane_read_standard_options(int last_source, OptionCallback cb);
// Reads one option file: 0 when it cannot be opened, else 1. Its lines are
// cut into options by the rules of OptionLines (options/OptionLines.h).
int _Torvane_read_option_file(const char* path, OptionCallback cb);
// Reads `length` bytes of `text` as the contents of the option file `path`,
// so that a caller that rewrites the file hears of the very bytes it keeps.
void _Torvane_read_option_text(const char* path, const char* text, size_t length, OptionCallback cb);
// Processes one option given as text (a command-line flag); options without
// a tool prefix count as this tool's.
void _Torvane_read_option_line(const char* text, OptionCallback cb);
// During a callback: the line number, the file's path (null for an option
// line) and whether it is an old-style ".torvane" file.
long _Torvane_get_option_lineno();
const char* _Torvane_get_option_filename();
int _Torvane_is_old_option_file();

// Start-up: the program's argv[0] (for find_quentar_home) and its tool name.
void register_argv0(const char* argv0);
void set_tool_name(const char* name);
// Further tools whose prefixed options this program accepts, any name.
void set_tool_alias(const char* name);
// Tools known to exist: their prefixed options are skipped without a word.
// "torvane", "zentrix" and "lumox" are known from the start.
void add_known_tool(const char* name);
void inhibit_option_errors();
// Back to the start-up state: no tool name, aliases or extra options, all
// flags off, the default known tools. The registered argv[0] stays.
void reset_option_reader();

// The installation directory: $QUENTAR when set and non-empty, else the
// directory above the last "bin" directory of the program's path; null when
// neither is known. The text stays valid until the next call.
const char* find_quentar_home();

// Utilities.
int is_true(const char* s);   // y, t, on (any case)
int is_false(const char* s);  // n, f, off (any case)
char* smush(char* s);         // lower case, '-' and '_' removed, in place
int option_matches(const char* text, const char* keyword);
char* fetch_token(char** p);  // next blank-separated token, cut in place
int streq(const char* a, const char* b);
int strieq(const char* a, const char* b);
int stricmp(const char* a, const char* b);
int strnicmp(const char* a, const char* b, size_t n);
// `path` made absolute against the working directory, with "." and ".."
// resolved; newly allocated (free() it), or null.
char* abs_path(const char* path);
// Do the two paths name one file, whatever links, "." or ".." lead to it?
// Files that exist are compared by device and inode (a hard link is the same
// file); files not there yet by their paths with every link resolved.
int same_file(const char* a, const char* b);
// The part of `path` after its last '/'.
const char* basename(const char* path);

}  // namespace tvopt
