#include "qip/Support/cmdln.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static option* theTable = nullptr;
static void (*theUsage)() = nullptr;

static int processOption(char** argv, int index, int argc);

int cmdln_register(option* table)
{
    theTable = table;
    return 0;
}

void cmdln_setUsage(void (*fn)()) { theUsage = fn; }

static bool isTerminator(const char* a) { return strcmp(a, "--") == 0 || strcmp(a, "-") == 0; }

int cmdln_parse(int* argc, char** argv)
{
    const int n = *argc;
    char** kept = static_cast<char**>(malloc(sizeof(char*) * (n > 0 ? n : 1)));
    if (!kept) {
        fprintf(stderr, "cmdopt: Unable to allocate room for %d (char *)\n", n);
        fprintf(stderr, "cmdopt: Aborting...\n");
        exit(-1);
    }

    int nKept = 0, processed = 0, consumed = 0;
    int restFrom = n;  // first argument after a terminator
    for (int i = 0; i < n; ++i) {
        char* a = argv[i];
        if (isTerminator(a)) {
            if (n == 2) {
                free(kept);
                if (theUsage)
                    theUsage();
                exit(-1);
            }
            ++processed;
            restFrom = i + 1;
            break;
        }
        if (a[0] == '-') {
            int r = processOption(argv, i, n);
            if (r >= 0) {
                ++processed;
                consumed += r;
                i += r;
                continue;
            }
        }
        kept[nKept++] = argv[i];
    }

    int out = 0;
    for (int k = 0; k < nKept; ++k)
        argv[out++] = kept[k];
    for (int k = restFrom; k < n; ++k)
        argv[out++] = argv[k];
    argv[out] = nullptr;
    free(kept);

    *argc -= processed + consumed;
    return processed;
}

// Leading characters that `name` and `text` share.
static int shared(const char* name, const char* text)
{
    int k = 0;
    while (name[k] && text[k] && name[k] == text[k])
        ++k;
    return k;
}

// Handles argv[index], a dash followed by a text. Returns how many of the
// following arguments the option consumed, or -1 when the argument is left
// (possibly rewritten to the unmatched rest) for the toolkit.
static int processOption(char** argv, int index, int argc)
{
    char* text = argv[index] + 1;
    for (;;) {
        if (*text == '\0')
            return 0;  // run-together flags used up the whole argument
        option* best = nullptr;
        int bestScore = 0;
        bool exact = false;
        for (option* o = theTable; o && o->name; ++o) {
            if (strcmp(o->name, text) == 0) {
                best = o;
                exact = true;
                break;
            }
            int s = shared(o->name, text);
            if (s > bestScore) {
                bestScore = s;
                best = o;
            }
        }
        if (!best) {
            text[-1] = '-';
            argv[index] = text - 1;
            return -1;
        }
        match m;
        m.option = best;
        if (exact) {
            m.matching = static_cast<int>(strlen(text));
            int avail = argc - index - 1;
            if (best->callback)
                best->callback(argv + index + 1, &m);
            return best->nArgs < avail ? (best->nArgs > 0 ? best->nArgs : 0) : avail;
        }
        m.matching = bestScore;
        if (best->nArgs > 0) {
            // The value is written directly after the option name.
            argv[index] = text + bestScore;
            if (best->callback)
                best->callback(argv + index, &m);
            int want = best->nArgs - 1;
            int avail = argc - index - 1;
            return want < avail ? want : avail;
        }
        if (best->callback)
            best->callback(nullptr, &m);
        text += bestScore;
    }
}

void cmdln_printArg(int n, char** args)
{
    printf("Found %d args: { ", n);
    fflush(stdout);
    int i = 0;
    for (; i < n; ++i) {
        printf("%s, ", args[i]);
        fflush(stdout);
    }
    if (args[i] == nullptr)
        printf("(null) }\n");
    else
        printf("(missing null)(%s) }\n", args[i]);
    fflush(stdout);
}
