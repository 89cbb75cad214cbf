#include "scanner/device/devicesession.h"

#include "scanner/device/devicelog.h"
#include "scanner/device/devicesettings.h"
#include "scanner/device/listingbound.h"
#include "scanner/device/processchannel.h"
#include "scanner/device/sanecalls.h"
#include "scanner/device/sanesources.h"
#include "scanner/device/scanbatch.h"

#include <chrono>

using scanprotocol::Message;
using scanprotocol::pack;

namespace {

// How long a network scanner may take over each answer while the scanners
// are listed before it is left out of the list.
constexpr auto listingReplyBound = std::chrono::seconds(10);

struct Session
{
    ProcessChannel& channel;
    bool initialised = false;
    SANE_Handle handle = nullptr;

    void list()
    {
        QList<scanprotocol::Source> sources;
        const SANE_Device** devices = nullptr;
        SANE_Status status = SANE_STATUS_IO_ERROR;
        if (initialised) {
            const ListingBound bound(listingReplyBound);
            status = sanecall::getDevices(&devices, SANE_FALSE);
        }
        if (status == SANE_STATUS_GOOD)
            sources = namedSources(devices);
        else
            DeviceLog(DeviceLog::Error) << "sane_get_devices: " << sane_strstatus(status);
        channel.send(Message::Sources, pack(status == SANE_STATUS_GOOD, sources));
    }

    void scan(const scanprotocol::ScanRequest& request)
    {
        if (handle) {
            // One scan per session: the program starts a new one for the next.
            channel.send(Message::Started, pack(qint32(SANE_STATUS_DEVICE_BUSY), 0.0));
            return;
        }
        const SANE_Status opened =
            initialised ? sanecall::open(request.deviceName.constData(), &handle) : SANE_STATUS_IO_ERROR;
        if (opened != SANE_STATUS_GOOD) {
            DeviceLog(DeviceLog::Error) << "sane_open " << request.deviceName.constData() << ": "
                                        << sane_strstatus(opened);
            handle = nullptr;
            channel.send(Message::Started, pack(qint32(opened), 0.0));
            return;
        }
        const DeviceSetup setup = applySettings(handle, request);
        channel.send(Message::Started, pack(qint32(SANE_STATUS_GOOD), setup.dotsPerInch));

        BatchPlan plan;
        plan.handle = handle;
        plan.count = qMax(0, request.count);
        plan.dotsPerInch = setup.dotsPerInch;
        plan.flatbed = setup.flatbed;
        plan.stagingFolder = request.stagingFolder;
        for (const scanprotocol::DeviceOption& option : request.deviceOptions)
            if (option.fromPage > 1)
                plan.laterOptions.append(option);
        runBatch(plan, channel);
    }
};

} // namespace

int runDeviceSession(ProcessChannel& channel)
{
    Session session{channel};
    SANE_Int version = 0;
    const SANE_Status status = sanecall::init(&version, nullptr);
    session.initialised = status == SANE_STATUS_GOOD;
    if (!session.initialised)
        DeviceLog(DeviceLog::Error) << "sane_init: " << sane_strstatus(status);

    Message message;
    QByteArray body;
    while (channel.read(true, message, body) == ProcessChannel::Read::Command) {
        scanprotocol::ScanRequest request;
        switch (message) {
        case Message::List:
            session.list();
            break;
        case Message::Start:
            if (scanprotocol::unpack(body, request))
                session.scan(request);
            else
                channel.send(Message::Started, pack(qint32(SANE_STATUS_INVAL), 0.0));
            break;
        default:
            break; // a late answer to a sheet already given up on
        }
    }
    if (session.handle)
        sane_close(session.handle);
    if (session.initialised)
        sane_exit();
    return 0;
}
