#include "app/shell/Lumox.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/shell/LumoxResources.h"
#include "app/shell/LumoxWindow.h"
#include "app/supreditor/SuprWindow.h"
#include "options/options.h"
#include "qip/Components/qipWidgetDump.h"
#include "qip/Monitors/qipFdActivity_X.h"

static const int versionMajor = 3;
static const int versionMinor = 1;
static const char* buildDate = "10/24/96";

Lumox::Lumox(const char* name) : qipApplication(name), _port(DefaultPort), _argv0(nullptr)
{
    fallbackResources(lumoxFallbackResources());
}

Lumox::~Lumox()
{
    _portMonitor.engine(nullptr);
    free(_argv0);
}

int Lumox::basePort()
{
    const char* env = getenv("LUMOX_PORT");
    if (env && atoi(env) >= LowestUserPort)
        return atoi(env);
    return DefaultPort;
}

int Lumox::appMain(int& argc, char** argv)
{
    free(_argv0);
    _argv0 = strdup(argc > 0 && argv[0] ? argv[0] : "lumox");
    // The option-file reader finds the installation directory from it.
    tvopt::register_argv0(_argv0);
    tvopt::set_tool_name("Lumox");
    // The sessions tell the suppression editor of their suppressions.
    SuprWindow::registerView();

    _portEngine.reset(new qipFdActivity_X(&_portMonitor));
    _portMonitor.engine(_portEngine.get());

    // Every client holds a descriptor: as many as the system lets this
    // user have, not the smaller default.
    struct rlimit files;
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }

    int base = basePort();
    int chosen = -1;
    for (int port = base; port < base + PortsTried && chosen < 0; ++port)
        if (_portMonitor.listen(port) == 0)
            chosen = port;
    if (chosen < 0) {
        fprintf(stderr, " *** Torvane : no available ports.\n");
        fprintf(stderr, "     Aborting ...\n");
        exit(-1);
    }
    _port = chosen;
    _portMonitor.activate();

    LumoxWindow window("Lumox");
    qipDumpWidgetTreeOnSignal(_base, getenv("LUMOX_WIDGET_DUMP"));
    return qipApplication::appMain(argc, argv);
}

void Lumox::usageHelp()
{
    fprintf(stderr, "Lumox Version %d.%d (%s)\n", versionMajor, versionMinor, buildDate);
    fprintf(stderr,
            "\n"
            "    Usage: lumox [X Toolkit options]\n"
            "\n"
            "    Lumox collects the error reports of checked programs while they run.\n"
            "    Programs connect on TCP port 3255 (or LUMOX_PORT, if 1025 or more;\n"
            "    the next nine ports are tried when it is taken).\n"
            "\n"
            "    For help, choose Help > Overview in the main window, or read the\n"
            "    README that comes with Lumox. Report problems to the Lumox developers\n"
            "    with the version line above and the steps that show the problem.\n");
    fprintf(stderr, "\n");
}
