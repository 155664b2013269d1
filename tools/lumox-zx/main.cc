// lumox-zx: the Effective C++ checks of a compile command, reported to Lumox.
//
//   lumox-zx [-Zop FILE] [-Zoi LINE] COMPILER ARGUMENT...
//
// Runs the compile command with -Weffc++ -fsyntax-only added, turns every
// Effective C++ diagnostic into a violation (rule item, severity, class,
// file, line, the compiler's text) and sends them to the Lumox collector as
// a static-analysis client ("Zentrix"), after its own command line,
// environment and working directory, so that Rebuild in the collector runs
// it again. "-Zop FILE" and "-Zoi LINE" may stand anywhere: they are not
// given to the compiler, but name option files and lines whose suppressions
// the collector applies to this run. Everything else the compiler prints
// (errors, other warnings, source excerpts) is printed in the order it
// printed it; without a collector its output is printed unchanged. The exit
// status is the compiler's.
#include <limits.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/lumox-client/lumox_client.h"
#include "tools/lumox-zx/EffcxxDiagnostics.h"

namespace {

const int ExitUsage = 2;
const int ExitNoCompiler = 127;

void usage()
{
    fprintf(stderr,
            "usage: lumox-zx [-Zop FILE] [-Zoi LINE] COMPILER ARGUMENT...\n"
            "  Runs COMPILER ARGUMENT... with -Weffc++ -fsyntax-only and reports its Effective C++\n"
            "  diagnostics to the Lumox collector (LUMOX_PORT, else port 3255) as violations.\n"
            "  -Zop FILE  an option file whose suppressions apply to this run\n"
            "  -Zoi LINE  one option line, e.g. -Zoi 'suppress item 12'\n");
}

bool isOwnOption(const char* arg) { return strncmp(arg, "-Zop", 4) == 0 || strncmp(arg, "-Zoi", 4) == 0; }

// Runs the compiler; its standard error in `err`, its exit status returned
// (ExitNoCompiler when it cannot be run).
int runCompiler(const std::vector<std::string>& args, std::string& err)
{
    int fds[2];
    if (pipe(fds) != 0)
        return ExitNoCompiler;
    pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return ExitNoCompiler;
    }
    if (pid == 0) {
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        // Plain quotes and no colours: the text is parsed and shown elsewhere.
        setenv("LC_ALL", "C", 1);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        fprintf(stderr, "lumox-zx: cannot run %s: %s\n", argv[0], strerror(errno));
        _exit(ExitNoCompiler);
    }
    close(fds[1]);
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) != 0) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        err.append(buf, static_cast<size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

bool isSource(const std::string& a)
{
    for (const char* ext : {".cc", ".cpp", ".cxx", ".c++", ".C", ".cp", ".CPP", ".h", ".hh", ".hpp"}) {
        size_t n = strlen(ext);
        if (a.size() > n && a.compare(a.size() - n, n, ext) == 0 && a[0] != '-')
            return true;
    }
    return false;
}

// The text of a file, or "" when it cannot be read.
std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : "";
}

std::string absolute(const std::string& file, const std::string& cwd)
{
    if (file.empty() || file[0] == '/' || cwd.empty())
        return file;
    return cwd + "/" + file;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> compile;
    for (int i = 1; i < argc; ++i) {
        if (isOwnOption(argv[i])) {
            // "-Zop FILE" or "-ZopFILE"; the collector reads them off our command line.
            if (argv[i][4] == '\0')
                ++i;
            continue;
        }
        compile.push_back(argv[i]);
    }
    if (compile.empty() || compile[0] == "-h" || compile[0] == "--help") {
        usage();
        return compile.empty() ? ExitUsage : 0;
    }
    std::string user;
    for (const std::string& a : compile)
        user += a + " ";
    compile.push_back("-Weffc++");
    compile.push_back("-Wno-error=effc++");
    if (user.find("non-virtual-dtor") == std::string::npos)
        compile.push_back("-Wno-error=non-virtual-dtor");
    compile.push_back("-fsyntax-only");
    compile.push_back("-fdiagnostics-color=never");

    std::string err;
    int status = runCompiler(compile, err);
    std::map<std::string, std::string> sources;
    effcxx::SourceReader source = [&sources](const std::string& file) {
        auto at = sources.find(file);
        if (at == sources.end())
            at = sources.emplace(file, readFile(file)).first;
        return at->second;
    };
    std::vector<effcxx::Diagnostic> diagnostics = effcxx::parse(err);
    std::vector<const effcxx::Diagnostic*> violations;
    for (effcxx::Diagnostic& d : diagnostics)
        if (effcxx::classify(d, source))
            violations.push_back(&d);

    char here[PATH_MAX];
    std::string cwd = getcwd(here, sizeof here) ? here : "";
    std::string program = compile[0];
    for (const std::string& a : compile)
        if (isSource(a)) {
            program = a;
            break;
        }

    lumox_signon signon;
    memset(&signon, 0, sizeof signon);
    signon.type = "Zentrix";
    signon.signature = "Zentrix";
    signon.program = program.c_str();
    lumox_client* client = nullptr;
    int r = lumox_connect(&client, &signon);
    if (r != LUMOX_OK) {
        // Nothing is reported: the compiler's output stays as it printed it.
        if (violations.empty())
            fprintf(stderr, "lumox-zx: %s\n", lumox_strerror(r));
        else
            fprintf(stderr, "lumox-zx: %s; %zu violation%s not reported, shown in the compiler's output below\n",
                    lumox_strerror(r), violations.size(), violations.size() == 1 ? "" : "s");
        fputs(err.c_str(), stderr);
        return status;
    }
    // What is not a violation is the compiler's to say, as and where it said it.
    fputs(effcxx::unmapped(diagnostics).c_str(), stderr);

    r = lumox_send_zx_context(client, argc, argv, nullptr, cwd.c_str());
    size_t sent = 0;
    while (r == LUMOX_OK && sent < violations.size()) {
        const effcxx::Diagnostic& d = *violations[sent];
        std::string file = absolute(d.file, cwd);
        lumox_violation v;
        memset(&v, 0, sizeof v);
        v.item = d.rule.item;
        v.severity = d.severity;
        v.class_name = d.className.c_str();
        v.file = file.c_str();
        v.line = d.line;
        v.item_text = d.rule.title;
        v.rule_set = d.rule.ruleSet;
        std::string body = d.context + d.text;
        v.body = body.c_str();
        r = lumox_send_violation(client, &v);
        if (r == LUMOX_OK)
            ++sent;
    }
    lumox_close(client);
    if (r != LUMOX_OK) {
        fprintf(stderr, "lumox-zx: %s; the violations not reported follow here\n", lumox_strerror(r));
        for (size_t k = sent; k < violations.size(); ++k)
            fprintf(stderr, "%s%s", violations[k]->context.c_str(), violations[k]->text.c_str());
    }
    return status;
}
