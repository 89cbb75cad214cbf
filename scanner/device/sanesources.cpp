#include "scanner/device/sanesources.h"

#include <QHash>

namespace {

constexpr int maxDevices = scanprotocol::maxSources;
// Longer names are cut, so that the whole list fits one message.
constexpr int maxNameBytes = 512;

QByteArray text(SANE_String_Const value)
{
    return value ? QByteArray(value, int(qstrnlen(value, maxNameBytes))) : QByteArray();
}

} // namespace

QList<scanprotocol::Source> namedSources(const SANE_Device* const* devices)
{
    QList<const SANE_Device*> listed;
    for (int i = 0; devices && devices[i] && listed.size() < maxDevices; ++i)
        if (devices[i]->name)
            listed.append(devices[i]);

    auto model = [](const SANE_Device* device) {
        const QByteArray name = text(device->model);
        return name.isEmpty() ? text(device->name) : name;
    };
    auto vendorAndModel = [&](const SANE_Device* device) {
        const QByteArray vendor = text(device->vendor);
        return vendor.isEmpty() ? model(device) : vendor + ' ' + model(device);
    };
    QHash<QByteArray, int> models;
    QHash<QByteArray, int> fullNames;
    for (const SANE_Device* device : qAsConst(listed)) {
        ++models[model(device)];
        ++fullNames[vendorAndModel(device)];
    }

    QList<scanprotocol::Source> sources;
    for (const SANE_Device* device : qAsConst(listed)) {
        scanprotocol::Source source;
        source.deviceName = text(device->name);
        if (models.value(model(device)) == 1)
            source.productName = model(device);
        else if (fullNames.value(vendorAndModel(device)) == 1)
            source.productName = vendorAndModel(device);
        else
            source.productName = vendorAndModel(device) + " (" + source.deviceName + ')';
        sources.append(source);
    }
    return sources;
}
