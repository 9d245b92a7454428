#pragma once

#include <QByteArray>
#include <atomic>
#include <mutex>
#include <thread>

// A fake PostgreSQL server on a free port of 127.0.0.1 that a school's network could hide: it
// declines TLS and asks for the password in clear (or as MD5), then keeps every byte a client
// sends, so a test can tell whether a password left the computer.
class RogueServer {
public:
    enum class Request { ClearText, Md5 };
    explicit RogueServer(Request request = Request::ClearText);
    ~RogueServer();
    RogueServer(const RogueServer&) = delete;
    RogueServer& operator=(const RogueServer&) = delete;

    int port() const { return port_; }
    // Clients that connected, and everything they sent after the startup message.
    int connections() const { return connections_.load(); }
    QByteArray received() const;

private:
    void serve();
    void talk(int client);

    Request request_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_ = false;
    std::atomic<int> connections_ = 0;
    mutable std::mutex mutex_;
    QByteArray received_;
    std::thread thread_;
};
