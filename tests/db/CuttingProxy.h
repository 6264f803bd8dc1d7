#pragma once

#include <QtGlobal>

#include <atomic>
#include <thread>

// A TCP relay on localhost between the client library and a server, which can break the
// connection after the client's next request has reached the server but before the server's
// answer reaches the client: the moment a commit's fate cannot be known.
class TCuttingProxy final {
public:
    explicit TCuttingProxy(quint16 serverPort);
    ~TCuttingProxy();
    TCuttingProxy(const TCuttingProxy&) = delete;
    TCuttingProxy& operator=(const TCuttingProxy&) = delete;

    quint16 Port() const { return port_; }
    void CutAfterNextRequest() { armed_ = true; }

private:
    void Relay();

    quint16 serverPort_;
    quint16 port_ = 0;
    int listener_ = -1;
    std::atomic<bool> armed_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
