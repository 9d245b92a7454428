#include "RogueServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QtEndian>

namespace {

// The codes a client puts where the protocol version goes, to ask for TLS or GSSAPI first.
constexpr quint32 sslRequestCode = 80877103;
constexpr quint32 gssRequestCode = 80877104;

// Reads exactly size bytes within a second; false when the client is gone or silent.
bool readExactly(int fd, char* into, size_t size) {
    size_t got = 0;
    while (got < size) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0) return false;
        const ssize_t n = ::read(fd, into + got, size - got);
        if (n <= 0) return false;
        got += size_t(n);
    }
    return true;
}

}  // namespace

RogueServer::RogueServer(Request request) : request_(request) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

RogueServer::~RogueServer() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) ::close(listener_);
}

QByteArray RogueServer::received() const {
    const std::lock_guard lock(mutex_);
    return received_;
}

void RogueServer::serve() {
    while (!stopping_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0) continue;
        ++connections_;
        talk(client);
        ::close(client);
    }
}

void RogueServer::talk(int client) {
    for (;;) {
        char header[8];
        if (!readExactly(client, header, sizeof header)) return;
        const quint32 length = qFromBigEndian<quint32>(header);
        const quint32 code = qFromBigEndian<quint32>(header + 4);
        if (length == 8 && (code == sslRequestCode || code == gssRequestCode)) {
            // "No TLS here": a client that insists must stop now.
            if (::write(client, "N", 1) != 1) return;
            continue;
        }
        // The startup message: its parameters follow.
        if (length < 8 || length > 10000) return;
        QByteArray rest(int(length - 8), '\0');
        if (!readExactly(client, rest.data(), size_t(rest.size()))) return;
        break;
    }
    // AuthenticationCleartextPassword (3) or AuthenticationMD5Password (5) with a salt.
    QByteArray ask("R");
    char field[4];
    qToBigEndian<quint32>(request_ == Request::Md5 ? 12 : 8, field);
    ask.append(field, 4);
    qToBigEndian<quint32>(request_ == Request::Md5 ? 5 : 3, field);
    ask.append(field, 4);
    if (request_ == Request::Md5) ask.append("salt", 4);
    if (::write(client, ask.constData(), size_t(ask.size())) != ask.size()) return;
    // Whatever comes back within a second is kept.
    char buffer[4096];
    for (;;) {
        pollfd p{client, POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0) return;
        const ssize_t n = ::read(client, buffer, sizeof buffer);
        if (n <= 0) return;
        const std::lock_guard lock(mutex_);
        received_.append(buffer, n);
    }
}
