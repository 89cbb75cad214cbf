#include "scanner/device/listingbound.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <mutex>
#include <vector>

namespace {

using Connect = int (*)(int, const sockaddr*, socklen_t);

struct Bound
{
    std::mutex mutex;
    bool active = false;
    timeval wait{};
    std::vector<int> sockets; // connected while the bound was on
};

Bound& bound()
{
    static Bound instance;
    return instance;
}

void setReceiveWait(int socket, const timeval& wait)
{
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
}

} // namespace

extern "C" int connect(int socket, const sockaddr* address, socklen_t length)
{
    static const auto real = reinterpret_cast<Connect>(dlsym(RTLD_NEXT, "connect"));
    if (!real)
        return -1;
    const int result = real(socket, address, length);
    if (result != 0 || !address || (address->sa_family != AF_INET && address->sa_family != AF_INET6))
        return result;
    Bound& b = bound();
    std::lock_guard<std::mutex> lock(b.mutex);
    if (b.active) {
        setReceiveWait(socket, b.wait);
        b.sockets.push_back(socket);
    }
    return result;
}

ListingBound::ListingBound(std::chrono::milliseconds wait)
{
    Bound& b = bound();
    std::lock_guard<std::mutex> lock(b.mutex);
    b.active = true;
    b.wait.tv_sec = time_t(wait.count() / 1000);
    b.wait.tv_usec = suseconds_t(wait.count() % 1000 * 1000);
    b.sockets.clear();
}

ListingBound::~ListingBound()
{
    Bound& b = bound();
    std::lock_guard<std::mutex> lock(b.mutex);
    b.active = false;
    // A connection the backend closed meanwhile may have handed its number
    // on; waiting without a bound is every socket's default anyway.
    const timeval none{};
    for (int socket : b.sockets) {
        struct stat info{};
        if (fstat(socket, &info) == 0 && S_ISSOCK(info.st_mode))
            setReceiveWait(socket, none);
    }
    b.sockets.clear();
}
