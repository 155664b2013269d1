#include "qip/Monitors/qipPortSensor.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

qipPortSensor::~qipPortSensor() { stopListening(); }

void qipPortSensor::stopListening()
{
    if (_fildes >= 0) {
        if (_engine)
            deactivate();
        close(_fildes);
    }
    _fildes = -1;
}

int qipPortSensor::monitor(long port)
{
    stopListening();
    _port = port;
    int fd = attachPortToSocket();
    if (fd < 0)
        return -1;
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    return watch(fd);
}

int qipPortSensor::attachPortToSocket()
{
    sockaddr_storage where;
    memset(&where, 0, sizeof where);
    socklen_t len;
    int family;
    sockaddr_in* in4 = reinterpret_cast<sockaddr_in*>(&where);
    sockaddr_in6* in6 = reinterpret_cast<sockaddr_in6*>(&where);
    if (_address.empty() || inet_pton(AF_INET, _address.c_str(), &in4->sin_addr) == 1) {
        family = AF_INET;
        in4->sin_family = AF_INET;
        if (_address.empty())
            in4->sin_addr.s_addr = htonl(INADDR_ANY);
        in4->sin_port = htons(static_cast<unsigned short>(_port));
        len = sizeof *in4;
    } else if (inet_pton(AF_INET6, _address.c_str(), &in6->sin6_addr) == 1) {
        family = AF_INET6;
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(static_cast<unsigned short>(_port));
        len = sizeof *in6;
    } else {
        errno = EINVAL;
        return -1;
    }
    int fd = socket(family, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    int on = 1;
    // An IPv6 socket takes IPv6 only: IPv4 has a socket of its own.
    if (family == AF_INET6)
        setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    // A failed attempt closes its socket so that trying ten ports leaks
    // nothing. The backlog is capped by the system at its own maximum.
    if (bind(fd, reinterpret_cast<sockaddr*>(&where), len) < 0 || listen(fd, INT_MAX) < 0) {
        int e = errno;
        close(fd);
        errno = e;
        return -1;
    }
    return fd;
}
