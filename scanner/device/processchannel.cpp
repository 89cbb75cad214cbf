#include "scanner/device/processchannel.h"

#include <cerrno>

#include <poll.h>
#include <unistd.h>

ProcessChannel::Read ProcessChannel::read(bool wait, scanprotocol::Message& message, QByteArray& body)
{
    for (;;) {
        if (reader.next(message, body))
            return Read::Command;
        if (inputClosed || reader.broken())
            return Read::Closed;
        pollfd ready{input, POLLIN, 0};
        const int polled = ::poll(&ready, 1, wait ? -1 : 0);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled == 0)
            return Read::None;
        char buffer[64 * 1024];
        const ssize_t got = polled < 0 ? -1 : ::read(input, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            inputClosed = true;
        else
            reader.append(buffer, got);
    }
}

bool ProcessChannel::send(scanprotocol::Message message, const QByteArray& body)
{
    if (outputBroken)
        return false;
    const QByteArray bytes = scanprotocol::frame(message, body);
    qint64 written = 0;
    while (written < bytes.size()) {
        const ssize_t done = ::write(output, bytes.constData() + written, size_t(bytes.size() - written));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            outputBroken = true;
            return false;
        }
        written += done;
    }
    return true;
}
