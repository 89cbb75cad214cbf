#include "scanner/protocol/scanprotocol.h"

#include <QtEndian>

namespace scanprotocol {

namespace {

constexpr int lengthBytes = 4;

template <typename T>
QDataStream& writeList(QDataStream& out, const QList<T>& list)
{
    out << quint32(list.size());
    for (const T& entry : list)
        out << entry;
    return out;
}

// Each entry takes at least one length word, so a count the bytes left
// cannot hold is a lie as much as one past the limit.
template <typename T>
QDataStream& readList(QDataStream& in, QList<T>& list, int maxCount)
{
    list.clear();
    quint32 count = 0;
    in >> count;
    const qint64 left = in.device() ? in.device()->bytesAvailable() : 0;
    if (in.status() != QDataStream::Ok || count > quint32(maxCount) || qint64(count) * lengthBytes > left) {
        in.setStatus(QDataStream::ReadCorruptData);
        return in;
    }
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        T entry;
        in >> entry;
        list.append(entry);
    }
    return in;
}

} // namespace

QDataStream& operator<<(QDataStream& out, const Source& source)
{
    return out << source.deviceName << source.productName;
}

QDataStream& operator>>(QDataStream& in, Source& source)
{
    return in >> source.deviceName >> source.productName;
}

QDataStream& operator<<(QDataStream& out, const DeviceOption& option)
{
    return out << option.name << option.value << qint32(option.fromPage);
}

QDataStream& operator>>(QDataStream& in, DeviceOption& option)
{
    qint32 fromPage = 1;
    in >> option.name >> option.value >> fromPage;
    option.fromPage = fromPage;
    return in;
}

QDataStream& operator<<(QDataStream& out, const ScanRequest& request)
{
    return out << request.deviceName << request.duplex << qint32(request.paperKind) << qint32(request.count)
               << qint32(request.pixelType) << request.stagingFolder << request.deviceOptions;
}

QDataStream& operator>>(QDataStream& in, ScanRequest& request)
{
    qint32 paperKind = 0;
    qint32 count = 0;
    qint32 pixelType = 0;
    in >> request.deviceName >> request.duplex >> paperKind >> count >> pixelType >> request.stagingFolder
        >> request.deviceOptions;
    request.paperKind = paperKind;
    request.count = count;
    request.pixelType = pixelType;
    return in;
}

QDataStream& operator<<(QDataStream& out, const QList<Source>& sources)
{
    return writeList(out, sources);
}

QDataStream& operator>>(QDataStream& in, QList<Source>& sources)
{
    return readList(in, sources, maxSources);
}

QDataStream& operator<<(QDataStream& out, const QList<DeviceOption>& options)
{
    return writeList(out, options);
}

QDataStream& operator>>(QDataStream& in, QList<DeviceOption>& options)
{
    return readList(in, options, maxDeviceOptions);
}

QByteArray frame(Message message, const QByteArray& body)
{
    QByteArray bytes(lengthBytes, Qt::Uninitialized);
    qToLittleEndian(quint32(1 + body.size()), bytes.data());
    bytes.append(char(message));
    bytes.append(body);
    return bytes;
}

bool FrameReader::append(const char* data, qint64 size)
{
    if (fault)
        return false;
    pending.append(data, int(size));
    checkLength();
    return !fault;
}

void FrameReader::checkLength()
{
    // Judged as soon as the length is there, before its bytes are awaited.
    if (pending.size() >= lengthBytes) {
        const quint32 length = qFromLittleEndian<quint32>(pending.constData());
        if (length == 0 || length > quint32(maxFrameBytes))
            fault = true;
    }
}

bool FrameReader::next(Message& message, QByteArray& body)
{
    if (fault || pending.size() < lengthBytes)
        return false;
    const quint32 length = qFromLittleEndian<quint32>(pending.constData());
    if (pending.size() < lengthBytes + int(length))
        return false;
    message = Message(quint8(pending.at(lengthBytes)));
    body = pending.mid(lengthBytes + 1, int(length) - 1);
    pending.remove(0, lengthBytes + int(length));
    checkLength();
    return true;
}

} // namespace scanprotocol
