#pragma once

#include "qip/Support/List.h"

class qipSensor;

// A named action that buttons and menu entries trigger. Disabling nests: a
// command that was disabled twice needs two enables. The sensors registered
// with it are switched off and on with it; after a successful run it enables
// and disables the commands of its two lists. It owns none of the sensors or
// commands it lists.
class qipCommand {
public:
    qipCommand(const char* name, int disabled);
    qipCommand(const qipCommand& other);
    qipCommand& operator=(const qipCommand& other);

    // The action itself; 0 on success.
    virtual int doit() = 0;
    virtual ~qipCommand();
    // Runs doit() when enabled; -1 when disabled, else doit()'s result.
    virtual int execute();
    virtual const char* className() const { return "qipCommand"; }

    void registerServer(qipSensor* ifac);
    void removeServer(qipSensor* ifac);
    void inActivationList(qipCommand* c) { _activationList.append(c); }
    void inDeactivationList(qipCommand* c) { _deactivationList.append(c); }

    // 0 once enabled (or when it already was), else the disables still pending.
    int enable();
    int disable();

    const char* name() const { return _name; }
    int disabled() const { return _disabled; }
    bool enabled() const { return _disabled == 0; }

protected:
    List<qipSensor*> _triggers;
    List<qipCommand*> _activationList;
    List<qipCommand*> _deactivationList;
    int _disabled;
    char* _name;
};
