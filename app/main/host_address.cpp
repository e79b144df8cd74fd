#include "host_address.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>
#endif

#include <cstring>

// The first IPv4 address of the host name, as a dotted quad, must not be 127.0.0.1.
bool hasNetworkAddress()
{
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) {
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    char quad[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    inet_ntop(AF_INET, &address->sin_addr, quad, sizeof quad);
    freeaddrinfo(found);
    return std::strcmp(quad, "127.0.0.1") != 0;
}
