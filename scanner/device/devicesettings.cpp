#include "scanner/device/devicesettings.h"

#include "scanner/device/devicelog.h"
#include "scanner/device/resolution.h"
#include "scanner/device/saneoptions.h"

#include <sane/saneopts.h>

#include <cmath>

namespace {

void logRefused(const char* what, SANE_Status status)
{
    if (status != SANE_STATUS_GOOD)
        DeviceLog(DeviceLog::Info) << what << " left as the device has it (" << sane_strstatus(status) << ")";
}

SANE_Status setSource(SANE_Handle handle, bool duplex)
{
    const QByteArray source =
        saneoptions::chooseSource(saneoptions::listedValues(handle, SANE_NAME_SCAN_SOURCE), duplex);
    return source.isEmpty() ? SANE_STATUS_UNSUPPORTED : saneoptions::setString(handle, SANE_NAME_SCAN_SOURCE, source);
}

SANE_Status setMode(SANE_Handle handle, int pixelType)
{
    if (pixelType != scanprotocol::PixelGray && pixelType != scanprotocol::PixelColor)
        return SANE_STATUS_INVAL;
    return saneoptions::setString(handle, SANE_NAME_SCAN_MODE,
                                  pixelType == scanprotocol::PixelColor ? SANE_VALUE_SCAN_MODE_COLOR
                                                                        : SANE_VALUE_SCAN_MODE_GRAY);
}

SANE_Status setResolution(SANE_Handle handle)
{
    OfferedValues offered;
    if (!saneoptions::offeredValues(handle, SANE_NAME_SCAN_RESOLUTION, offered))
        return saneoptions::setNumber(handle, SANE_NAME_SCAN_RESOLUTION, scanprotocol::pageDotsPerInch);
    const double chosen = chooseResolution(offered, scanprotocol::pageDotsPerInch);
    return chosen > 0 ? saneoptions::setNumber(handle, SANE_NAME_SCAN_RESOLUTION, chosen) : SANE_STATUS_UNSUPPORTED;
}

SANE_Status setBlankPageDiscard(SANE_Handle handle, bool on)
{
    const SANE_Status switched = saneoptions::setSwitches(handle, {"blank"}, on);
    // Some backends take a blank-page threshold instead, 0 meaning off.
    if (!on && saneoptions::setNumber(handle, "swskip", 0) == SANE_STATUS_GOOD)
        return SANE_STATUS_GOOD;
    return switched;
}

SANE_Status setPaper(SANE_Handle handle, int paperKind)
{
    switch (paperKind) {
    case scanprotocol::PaperA3:
        return saneoptions::setScanArea(handle, 297, 420);
    case scanprotocol::PaperA4:
    case scanprotocol::PaperA4Also:
        return saneoptions::setScanArea(handle, 210, 297);
    case scanprotocol::PaperWhole:
        return saneoptions::setScanArea(handle, 0, 0);
    default:
        return SANE_STATUS_UNSUPPORTED;
    }
}

} // namespace

SANE_Status applyDeviceOption(SANE_Handle handle, const scanprotocol::DeviceOption& option)
{
    return saneoptions::setFromText(handle, option.name, option.value);
}

DeviceSetup applySettings(SANE_Handle handle, const scanprotocol::ScanRequest& request)
{
    DeviceSetup setup;
    // Without any feeder the device is a flatbed: one sheet per frame.
    setup.flatbed =
        saneoptions::chooseSource(saneoptions::listedValues(handle, SANE_NAME_SCAN_SOURCE), true).isEmpty();
    logRefused("source", setSource(handle, request.duplex));
    logRefused("mode", setMode(handle, request.pixelType));
    logRefused("resolution", setResolution(handle));
    logRefused("deskew", saneoptions::setSwitches(handle, {"deskew"}, true));
    logRefused("blank-page discarding", setBlankPageDiscard(handle, false));
    logRefused("double-feed detection", saneoptions::setSwitches(handle, {"double-feed", "doublefeed"}, false));
    logRefused("scan area", setPaper(handle, request.paperKind));
    for (const scanprotocol::DeviceOption& option : request.deviceOptions)
        if (option.fromPage <= 1)
            logRefused(option.name.constData(), applyDeviceOption(handle, option));

    // What the device will really scan at; other resolutions are scaled.
    setup.dotsPerInch = saneoptions::numberValue(handle, SANE_NAME_SCAN_RESOLUTION, 0);
    if (setup.dotsPerInch > 0 && std::abs(setup.dotsPerInch - scanprotocol::pageDotsPerInch) >= 0.5)
        DeviceLog(DeviceLog::Info) << "scanning at " << setup.dotsPerInch << " dpi, pages scaled to "
                                   << scanprotocol::pageDotsPerInch;
    if (setup.flatbed)
        DeviceLog(DeviceLog::Info) << "no feeder, one sheet at a time";
    return setup;
}
