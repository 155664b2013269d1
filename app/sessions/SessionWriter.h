#pragma once

class NetClient;
class ZxClient;

// What stores sessions with a record layout per kind of client: the report
// file. A session picks the overload for its own kind through
// NetClient::saveTo(), so the writer never asks what kind it was given.
class SessionWriter {
public:
    virtual ~SessionWriter() {}

    // A runtime session (or any session without a layout of its own); 0 or
    // the writer's error code.
    virtual int save(NetClient* client) = 0;
    // A static-analysis session; 0 or the writer's error code.
    virtual int save(ZxClient* client) = 0;
};
