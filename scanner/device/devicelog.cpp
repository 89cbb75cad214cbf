#include "scanner/device/devicelog.h"

#include <cstdio>

namespace {

DeviceLog::Sink sink = nullptr;

} // namespace

DeviceLog::~DeviceLog()
{
    const std::string text = str();
    if (sink)
        sink(level, text);
    else
        std::fprintf(stderr, "tollivar-scanner: %s\n", text.c_str());
}

void DeviceLog::setSink(Sink newSink)
{
    sink = newSink;
}
