#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "options/OptionLines.h"
#include "options/options.h"

namespace tvopt {

char* option_file = nullptr;
long option_line = -1;
int old_option_file = 0;
int current_torvane_file = 0;
char* this_tool = nullptr;
char** read_other_tools = nullptr;
int n_read_other_tools = 0;
int implicit_prefix = 0;
int allow_all_options = 0;
int dont_preprocess_options = 0;
int inhibit_error_messages = 0;
int read_options_verbose = 0;
const OptionEntry* extra_options = nullptr;
int num_extra_options = 0;

// The rows of the family's keyword table that this program reads.
static const OptionEntry keyword_table[] = {
    {"suppress", 14},
    {"unsuppress", 14},
};

// Tools known to exist; options prefixed with their names are not ours.
struct ToolName {
    char* name;
    ToolName* next;
};
static ToolName* tools = nullptr;
static const char* const default_tools[] = {"torvane", "zentrix", "lumox"};
static bool tools_initialised = false;

static void* must_alloc(size_t n)
{
    void* p = malloc(n);
    if (!p) {
        fputs("Unable to allocate memory.\n", stderr);
        exit(-1);
    }
    return p;
}

static char* must_strdup(const char* s)
{
    char* p = static_cast<char*>(must_alloc(strlen(s) + 1));
    strcpy(p, s);
    return p;
}

static bool blank(char c) { return isspace(static_cast<unsigned char>(c)) != 0; }
static bool letter(char c) { return isalpha(static_cast<unsigned char>(c)) != 0; }

static void free_tools()
{
    while (tools) {
        ToolName* t = tools;
        tools = t->next;
        free(t->name);
        free(t);
    }
}

static void init_tools()
{
    if (tools_initialised)
        return;
    tools_initialised = true;
    for (const char* t : default_tools)
        add_known_tool(t);
}

void add_known_tool(const char* name)
{
    if (!name)
        return;
    init_tools();
    ToolName* t = static_cast<ToolName*>(must_alloc(sizeof(ToolName)));
    t->name = smush(must_strdup(name));
    t->next = tools;
    tools = t;
}

static bool is_known_tool(const char* name)
{
    init_tools();
    for (ToolName* t = tools; t; t = t->next)
        if (strieq(t->name, name))
            return true;
    return false;
}

void set_tool_name(const char* name)
{
    free(this_tool);
    this_tool = name ? must_strdup(name) : nullptr;
}

void set_tool_alias(const char* name)
{
    if (!name)
        return;
    char** grown = static_cast<char**>(realloc(read_other_tools, (n_read_other_tools + 1) * sizeof(char*)));
    if (!grown) {
        fputs("Unable to allocate memory.\n", stderr);
        exit(-1);
    }
    read_other_tools = grown;
    read_other_tools[n_read_other_tools++] = must_strdup(name);
}

void inhibit_option_errors() { inhibit_error_messages = 1; }

void reset_option_reader()
{
    set_tool_name(nullptr);
    for (int i = 0; i < n_read_other_tools; ++i)
        free(read_other_tools[i]);
    free(read_other_tools);
    read_other_tools = nullptr;
    n_read_other_tools = 0;
    free_tools();
    tools_initialised = false;
    implicit_prefix = allow_all_options = dont_preprocess_options = 0;
    inhibit_error_messages = read_options_verbose = 0;
    extra_options = nullptr;
    num_extra_options = 0;
    free(option_file);
    option_file = nullptr;
    option_line = -1;
    old_option_file = 0;
    current_torvane_file = 0;
}

long _Torvane_get_option_lineno() { return option_line; }
const char* _Torvane_get_option_filename() { return option_file; }
int _Torvane_is_old_option_file() { return old_option_file; }

static void start_of_file(OptionCallback cb)
{
    char tool[1] = "", option[1] = "", value[1] = "";
    cb(tool, option, value);
}

static const OptionEntry* find_keyword(const char* name)
{
    for (const OptionEntry& e : keyword_table)
        if (streq(e.name, name))
            return &e;
    for (int i = 0; i < num_extra_options; ++i)
        if (extra_options[i].name && streq(extra_options[i].name, name))
            return &extra_options[i];
    return nullptr;
}

static void bad_option(const char* option)
{
    if (inhibit_error_messages)
        return;
    if (option_line == -1)
        fprintf(stderr, "Bad option (from flag): %s\n", option);
    else
        fprintf(stderr, "[%s:%ld] Bad option: %s\n", option_file ? option_file : "", option_line, option);
}

// Old-style files know no tool prefixes; the table decides alone. Most of
// their options belong to other tools of the family, so names this table
// does not hold are passed over silently.
static void process_old_option(char* name, char* value, OptionCallback cb)
{
    smush(name);
    char* dot = strrchr(name, '.');
    char* option = dot ? dot + 1 : name;
    const OptionEntry* e = allow_all_options ? nullptr : find_keyword(option);
    if (!allow_all_options && (!e || !(e->flags & OPT_OLD_FILE_MASK)))
        return;
    if (e && (e->flags & OPT_SMUSH_VALUE))
        smush(value);
    char tool[] = "torvane";
    cb(tool, option, value);
}

static void process_one_option2(char* name, char* value, OptionCallback cb)
{
    if (dont_preprocess_options) {
        char tool[1] = "";
        cb(tool, name, value);
        return;
    }
    if (old_option_file) {
        process_old_option(name, value, cb);
        return;
    }
    smush(name);
    char empty[1] = "";
    char* tool = empty;
    char* own_name = nullptr;  // a copy, so that the callback cannot touch this_tool
    char* option = name;
    bool via_alias = false;
    char* dot = strchr(name, '.');
    if (!dot) {
        if (implicit_prefix && this_tool)
            tool = own_name = must_strdup(this_tool);
    } else {
        *dot = '\0';
        tool = name;
        bool ours = this_tool && strieq(tool, this_tool);
        for (int i = 0; !ours && i < n_read_other_tools; ++i)
            via_alias = ours = strieq(tool, read_other_tools[i]);
        if (!ours) {
            if (!is_known_tool(tool) && !inhibit_error_messages)
                fprintf(stderr, "Bad tool in option: %s\n", tool);
            return;
        }
        char* last = strrchr(dot + 1, '.');
        option = last ? last + 1 : dot + 1;
    }
    const OptionEntry* e = nullptr;
    if (!allow_all_options) {
        e = find_keyword(option);
        if (!e && !via_alias) {
            bad_option(option);
            free(own_name);
            return;
        }
    }
    if (e && (e->flags & OPT_SMUSH_VALUE))
        smush(value);
    cb(tool, option, value);
    free(own_name);
}

// Splits one logical line into name and value.
static void process_one_option(char* line, OptionCallback cb)
{
    char* p = line;
    while (blank(*p))
        ++p;
    if (!letter(*p))
        return;
    char* name = p;
    while (*p && !blank(*p) && *p != '=')
        ++p;
    if (*p)
        *p++ = '\0';
    while (blank(*p))
        ++p;
    char* value = p;
    char* end = value + strlen(value);
    while (end > value && blank(end[-1]))
        --end;
    *end = '\0';
    process_one_option2(name, value, cb);
}

// Every logical line of `text` by the rules of OptionLines; the callback
// hears of each option with option_line at its last physical line.
static void read_text(const char* text, size_t length, OptionCallback cb)
{
    OptionLines lines(text, length);
    OptionLines::Line line;
    while (lines.next(line)) {
        if (!line.option)
            continue;
        option_line = line.last;
        if (line.broken) {
            if (!inhibit_error_messages)
                fprintf(stderr, "[%s:%ld] Bad option line: it holds a NUL byte\n", option_file ? option_file : "",
                        option_line);
            continue;
        }
        std::string option = lines.optionText(line);
        process_one_option(&option[0], cb);
    }
    option_line = -1;
}

// The whole file is read before any of it is taken apart: a line of any
// length is one line.
static void read_stream(FILE* fp, OptionCallback cb)
{
    std::string text;
    char chunk[8192];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, fp)) > 0)
        text.append(chunk, n);
    read_text(text.data(), text.size(), cb);
}

// Reads one standard option file; the callback hears of the file first,
// even when it is missing. True when the file could be opened.
static bool read_options_from(const char* path, OptionCallback cb)
{
    free(option_file);
    option_file = must_strdup(path);
    option_line = 0;
    start_of_file(cb);
    FILE* fp = fopen(path, "rt");
    const bool opened = fp != nullptr;
    if (opened) {
        if (read_options_verbose && !inhibit_error_messages)
            printf("# %s\n", path);
        read_stream(fp, cb);
        fclose(fp);
    } else if (read_options_verbose && !inhibit_error_messages) {
        printf("# Skipping %s - no such file, or unable to open\n", path);
    }
    free(option_file);
    option_file = nullptr;
    option_line = -1;
    return opened;
}

// One standard option file: where it is, which source it belongs to and
// whether it is an old-style file.
struct StandardFile {
    std::string path;
    int source;
    int old;
};

static void add_standard_files(std::vector<StandardFile>& files, const std::string& dir, int source)
{
    files.push_back({dir + "/.torvane", source, 1});
    files.push_back({dir + "/.qnrc", source, 0});
}

int _Torvane_read_standard_options(int last_source, OptionCallback cb)
{
    std::vector<StandardFile> files;
    const char* home = find_quentar_home();
    if (home && *home) {
        add_standard_files(files, std::string(home) + "/lib.abi/abicc", SRC_ARCH_DIR);
        add_standard_files(files, home, SRC_INSTALL_DIR);
    } else if (read_options_verbose && !inhibit_error_messages) {
        printf("# Unable to determine TORVANE directory\n");
    }
    const char* user = getenv("HOME");
    if (user && *user)
        add_standard_files(files, user, SRC_HOME);
    else if (read_options_verbose && !inhibit_error_messages)
        printf("# Unable to determine HOME directory\n");
    add_standard_files(files, ".", SRC_CWD);

    int n = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const StandardFile& f = files[i];
        if (f.source > last_source)
            break;
        // The installation may be the home directory, or the working
        // directory either: a file named twice is read once, at its last
        // place, where its options have the last word.
        size_t later = i + 1;
        while (later < files.size() && files[later].source <= last_source &&
               !same_file(f.path.c_str(), files[later].path.c_str()))
            ++later;
        if (later < files.size() && files[later].source <= last_source) {
            if (read_options_verbose && !inhibit_error_messages)
                printf("# Skipping %s - read later as %s\n", f.path.c_str(), files[later].path.c_str());
            continue;
        }
        current_torvane_file = f.source;
        old_option_file = f.old;
        n += read_options_from(f.path.c_str(), cb) ? 1 : 0;
        old_option_file = 0;
    }
    return n;
}

int _Torvane_read_options(OptionCallback cb) { return _Torvane_read_standard_options(SRC_CWD, cb); }

// The state of reading the named file, which the callback sees.
static void begin_file(const char* path, OptionCallback cb)
{
    current_torvane_file = SRC_FILE;
    old_option_file = 0;
    free(option_file);
    option_file = must_strdup(path);
    option_line = 0;
    start_of_file(cb);
}

static void end_file()
{
    free(option_file);
    option_file = nullptr;
    option_line = -1;
}

// An option file, opened for reading only when it is a regular file of at
// most MAX_OPTION_FILE bytes. Paths come from clients too (-Zop on an
// analysed command line, the project's .qnrc in the directory a client
// names): a device, a pipe or a huge file would stall the program or fill
// its memory, so it is passed over with one line on standard error. The open
// does not wait for a pipe's writer.
enum { MAX_OPTION_FILE = 4 * 1024 * 1024 };

static FILE* open_option_file(const char* path)
{
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > MAX_OPTION_FILE) {
        fprintf(stderr, " *** options: %s is not read: %s\n", path,
                S_ISREG(st.st_mode) ? "it is larger than 4 MiB" : "it is not a regular file");
        close(fd);
        return nullptr;
    }
    // Back to ordinary reads for a regular file.
    fcntl(fd, F_SETFL, 0);
    FILE* fp = fdopen(fd, "r");
    if (!fp)
        close(fd);
    return fp;
}

int _Torvane_read_option_file(const char* path, OptionCallback cb)
{
    if (!path)
        return 0;
    begin_file(path, cb);
    FILE* fp = open_option_file(path);
    const bool opened = fp != nullptr;
    if (opened) {
        read_stream(fp, cb);
        fclose(fp);
    }
    end_file();
    return opened ? 1 : 0;
}

void _Torvane_read_option_text(const char* path, const char* text, size_t length, OptionCallback cb)
{
    if (!path)
        return;
    begin_file(path, cb);
    read_text(text, text ? length : 0, cb);
    end_file();
}

void _Torvane_read_option_line(const char* text, OptionCallback cb)
{
    if (!text)
        return;
    char* line = must_strdup(text);
    current_torvane_file = SRC_LINE;
    old_option_file = 0;
    free(option_file);
    option_file = nullptr;
    option_line = -1;
    implicit_prefix = 1;
    char* p = line;
    while (blank(*p))
        ++p;
    if (*p == '!')
        ++p;
    process_one_option(p, cb);
    implicit_prefix = 0;
    free(line);
}

}  // namespace tvopt
