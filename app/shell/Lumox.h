#pragma once

#include <memory>

#include "app/network/NetManager.h"
#include "qip/Components/qipApplication.h"

class qipFdActivity_X;

// The program's application object: chooses and binds the TCP port that
// checked programs connect to, builds the main window and runs the event loop.
// It owns the port monitor and its engine, and, through the monitor, every
// live connection.
class Lumox : public qipApplication {
public:
    explicit Lumox(const char* name);
    ~Lumox() override;

    void usageHelp() override;
    int appMain(int& argc, char** argv) override;
    const char* className() const override { return "Lumox"; }

    int port() const { return _port; }
    NetManager& portMonitor() { return _portMonitor; }

    enum { DefaultPort = 3255, LowestUserPort = 1025, PortsTried = 10 };

    // The first port to try: 3255, or LUMOX_PORT when it is 1025 or more.
    static int basePort();

protected:
    int _port;
    NetManager _portMonitor;
    char* _argv0;
    // The engine that watches the port monitor's socket; declared after the
    // monitor so that it goes first.
    std::unique_ptr<qipFdActivity_X> _portEngine;
};
