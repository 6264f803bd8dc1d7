#include "CuttingProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <vector>

namespace {

sockaddr_in Localhost(quint16 port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// Everything waiting on `from` goes to `to`; false when `from` has closed.
bool Pass(int from, int to) {
    char buffer[65536];
    const ssize_t got = recv(from, buffer, sizeof buffer, 0);
    if (got <= 0)
        return false;
    return send(to, buffer, static_cast<size_t>(got), MSG_NOSIGNAL) == got;
}

struct TPair {
    int client;
    int server;
};

} // namespace

TCuttingProxy::TCuttingProxy(quint16 serverPort) : serverPort_(serverPort) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Localhost(0);
    socklen_t length = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 8);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Relay(); });
}

TCuttingProxy::~TCuttingProxy() {
    stop_ = true;
    thread_.join();
    close(listener_);
}

void TCuttingProxy::Relay() {
    std::vector<TPair> pairs;
    const auto drop = [&](std::size_t index) {
        close(pairs[index].client);
        close(pairs[index].server);
        pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(index));
    };
    while (!stop_) {
        std::vector<pollfd> polled{{listener_, POLLIN, 0}};
        for (const TPair& pair : pairs) {
            polled.push_back({pair.client, POLLIN, 0});
            polled.push_back({pair.server, POLLIN, 0});
        }
        if (poll(polled.data(), polled.size(), 100) <= 0)
            continue;
        if (polled[0].revents & POLLIN) {
            const int client = accept(listener_, nullptr, nullptr);
            const int server = socket(AF_INET, SOCK_STREAM, 0);
            const sockaddr_in target = Localhost(serverPort_);
            if (connect(server, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0)
                pairs.push_back({client, server});
            else {
                close(client);
                close(server);
            }
            continue;
        }
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            const short fromClient = polled[1 + 2 * i].revents;
            const short fromServer = polled[2 + 2 * i].revents;
            if (fromClient & (POLLIN | POLLHUP)) {
                if (!Pass(pairs[i].client, pairs[i].server)) {
                    drop(i);
                    break;
                }
                if (armed_.exchange(false)) {
                    // What the client sends with the request goes on to the server; nothing of the
                    // answer comes back before the connection is broken.
                    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
                    while (std::chrono::steady_clock::now() < until) {
                        pollfd client{pairs[i].client, POLLIN, 0};
                        if (poll(&client, 1, 50) > 0 && !Pass(pairs[i].client, pairs[i].server))
                            break;
                    }
                    drop(i);
                    break;
                }
            } else if (fromServer & (POLLIN | POLLHUP)) {
                if (!Pass(pairs[i].server, pairs[i].client)) {
                    drop(i);
                    break;
                }
            }
        }
    }
    for (const TPair& pair : pairs) {
        close(pair.client);
        close(pair.server);
    }
}
