#pragma once

// A small command-line option registry. One table of options is registered at
// a time; cmdln_parse() hands every option it knows to that option's callback,
// removes it from argv and leaves everything else, unknown options included,
// in place for the X Toolkit.

struct option;

// What an option matched: how many characters and which table entry.
struct match {
    int matching;
    ::option* option;
};

typedef void (*cmdln_callback)(char** arg, match* m);

// One table entry; a table ends with an entry whose name is null.
struct option {
    const char* name;  // the option text without its leading '-'
    int nArgs;         // number of arguments that follow the option
    cmdln_callback callback;
};

// Stores the table; returns 0.
int cmdln_register(option* table);

// Parses and compacts argv; returns the number of options processed, a
// terminating "-" or "--" included. A command line of the program name and
// one terminator calls the usage hook and exits with status -1.
int cmdln_parse(int* argc, char** argv);

// Debugging print of an argument vector to standard output.
void cmdln_printArg(int n, char** args);

// The function cmdln_parse() calls for the usage exit. The application object
// installs its own; without one nothing is printed.
void cmdln_setUsage(void (*fn)());
