#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "options/options.h"

namespace tvopt {

// The program's absolute path, fixed at registration so that later changes
// of the working directory do not matter.
static std::string program_path;
static std::string home_dir;

static bool is_executable_file(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// A bare program name was found on PATH, as the shell found it.
static std::string search_path(const char* name)
{
    const char* path = getenv("PATH");
    if (!path)
        return "";
    std::string dirs = path;
    size_t i = 0;
    while (i <= dirs.size()) {
        size_t j = dirs.find(':', i);
        if (j == std::string::npos)
            j = dirs.size();
        std::string dir = dirs.substr(i, j - i);
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (is_executable_file(candidate))
            return candidate;
        i = j + 1;
    }
    return "";
}

void register_argv0(const char* argv0)
{
    program_path.clear();
    if (!argv0 || !*argv0)
        return;
    std::string where = strchr(argv0, '/') ? std::string(argv0) : search_path(argv0);
    if (where.empty())
        return;
    char* abs = abs_path(where.c_str());
    if (abs) {
        program_path = abs;
        free(abs);
    }
}

const char* find_quentar_home()
{
    const char* q = getenv("QUENTAR");
    if (q && *q)
        return q;
    if (program_path.empty())
        return nullptr;
    // The last directory named "bin" on the program's path; the program's
    // own name does not count.
    std::string dirs = program_path.substr(0, program_path.rfind('/'));
    size_t at = std::string::npos;
    for (size_t p = dirs.find("/bin"); p != std::string::npos; p = dirs.find("/bin", p + 1))
        if (p + 4 == dirs.size() || dirs[p + 4] == '/')
            at = p;
    if (at == std::string::npos)
        return nullptr;
    home_dir = at == 0 ? "/" : dirs.substr(0, at);
    return home_dir.c_str();
}

}  // namespace tvopt
