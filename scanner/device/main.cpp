// The scanner process: every SANE call of the program runs here, so that a
// scanner or backend that hangs or crashes takes only this process down.
// The program starts it for each listing and scan, speaks to it on its
// standard input and output (scanner/protocol/scanprotocol.h), and kills it
// when it does not end in time.

#include "scanner/device/devicelog.h"
#include "scanner/device/devicesession.h"
#include "scanner/device/processchannel.h"

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

ProcessChannel* logChannel = nullptr;

void sendRecord(int level, const std::string& text)
{
    if (logChannel)
        logChannel->send(scanprotocol::Message::Log,
                         scanprotocol::pack(qint32(level), QByteArray::fromStdString(text)));
}

} // namespace

int main()
{
    // Gone with the program, even when it is killed.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == 1)
        return 1;
    // A program that stopped listening is noticed as a failed write.
    std::signal(SIGPIPE, SIG_IGN);
    // The messages get standard output to themselves: whatever a backend
    // prints goes to standard error with the rest of its chatter.
    const int messages = dup(STDOUT_FILENO);
    if (messages < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return 1;

    ProcessChannel channel(STDIN_FILENO, messages);
    logChannel = &channel;
    DeviceLog::setSink(&sendRecord);
    return runDeviceSession(channel);
}
