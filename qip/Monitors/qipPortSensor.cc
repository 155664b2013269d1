#include "qip/Monitors/qipPortSensor.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

int qipPortSensor::monitor(long port)
{
    _port = port;
    int fd = attachPortToSocket();
    if (fd < 0)
        return -1;
    fcntl(fd, F_SETFD, 1);
    return watch(fd);
}

int qipPortSensor::attachPortToSocket()
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        _port = -1;
        return -1;
    }
    sockaddr_in addr;
    memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(static_cast<unsigned short>(_port));
    // A failed attempt closes its socket so that trying ten ports leaks nothing.
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0 || listen(fd, 5) < 0) {
        close(fd);
        return -1;
    }
    return fd;
}
