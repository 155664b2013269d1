#include "app/network/NetHandshake.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "app/network/NetManager.h"
#include "qip/Monitors/qipFdActivity_X.h"

NetHandshake::NetHandshake(int socket, NetManager* manager, bool remote, const std::string& peer)
    : _socket(socket), _manager(manager), _remote(remote), _peer(peer), _since(NetManager::nowMs()), _n(0)
{
    memset(_data, 0, sizeof _data);
    _ownEngine.reset(new qipFdActivity_X(this));
    _engine = _ownEngine.get();
    watch(socket);
}

NetHandshake::~NetHandshake()
{
    if (_fildes >= 0)
        deactivate();
    if (_socket >= 0)
        close(_socket);
}

int NetHandshake::release()
{
    if (_fildes >= 0)
        deactivate();
    _fildes = -1;
    int s = _socket;
    _socket = -1;
    return s;
}

bool NetHandshake::whole(const char* data, int n)
{
    if (n < 4)
        return false;
    const char* mark = n > 4 ? static_cast<const char*>(memchr(data + 4, '>', static_cast<size_t>(n - 4))) : nullptr;
    if (!mark)
        return true;  // binary: the first four bytes are all of it
    // Tagged: '>', one separator, then the user id's digits.
    int after = static_cast<int>(mark - data) + 2;
    return after < n && isdigit(static_cast<unsigned char>(data[after]));
}

void NetHandshake::triggered()
{
    ssize_t r;
    do
        r = ::read(_socket, _data + _n, static_cast<size_t>(MaxSize - _n));
    while (r < 0 && errno == EINTR);
    if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return;
    if (r <= 0) {
        // handshakeDone() may destroy this handshake: nothing may follow it.
        _manager->handshakeDone(this, false);
        return;
    }
    _n += static_cast<int>(r);
    if (whole(_data, _n) || _n >= MaxSize)
        _manager->handshakeDone(this, true);
}
