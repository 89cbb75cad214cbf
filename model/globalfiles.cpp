#include "model/global.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

QByteArray formatBySignature(quint32 signature)
{
    switch (signature) {
    case 0x89504E47u: return "PNG";
    case 0xFFD8FFE0u:
    case 0x00FFD8FFu: return "JPG";
    case 0x49492A00u: return "tif";
    case 0x47494638u: return "gif";
    default: return "bmp";
    }
}

// Asks the decoder of `format` whether the file's header is its kind; no
// pixel is decoded, so a header declaring a huge picture costs nothing.
bool decodes(const QString& path, const char* format)
{
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return reader.canRead();
}

} // namespace

QByteArray Global::loadImage(const QString& path)
{
    if (!QFileInfo::exists(path))
        return "jpg";

    quint32 signature = 0;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QDataStream stream(&file);
        stream.setByteOrder(QDataStream::BigEndian);
        stream >> signature;
        if (stream.status() != QDataStream::Ok)
            signature = 0; // shorter than four bytes
    }
    file.close();

    const QByteArray first = formatBySignature(signature);
    if (decodes(path, first.constData()))
        return first;
    for (const char* fallback : {"jpg", "bmp", "png"}) {
        if (decodes(path, fallback))
            return fallback;
    }
    return QByteArray();
}

QString Global::makeParentDir(const QString& path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;

    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        // A relative path with no existing level: this is the top one, so
        // the walk ends here instead of asking for the whole path again.
        QDir().mkpath(path);
        return path;
    }

    const QString name = path.mid(slash + 1);
    // The parent of "/x" is the root, not the empty (current) folder.
    const QString parent = makeParentDir(slash == 0 ? QStringLiteral("/") : path.left(slash));
    if (!name.isEmpty())
        QDir(parent).mkpath(name);
    if (parent.endsWith(QLatin1Char('/')))
        return parent + name;
    return parent + QLatin1Char('/') + name;
}
