#include "model/pictureread.h"

#include "model/infra/logger.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QStringList>

#include <atomic>

namespace {

// Decoders report damaged data (libjpeg's "premature end of data segment",
// libpng's warnings) only as Qt warnings on the thread that decodes, and
// still hand back a picture. One handler, installed once and passing on
// everything else to the one it replaced, collects them for the read that
// runs on the current thread.
thread_local QStringList* decoderWarnings = nullptr;
std::atomic<QtMessageHandler> previousHandler{nullptr};

void collectDecoderWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (decoderWarnings && (type == QtWarningMsg || type == QtCriticalMsg)) {
        decoderWarnings->append(text);
        return;
    }
    if (const QtMessageHandler previous = previousHandler.load())
        previous(type, context, text);
}

class DecoderWarningScope
{
public:
    explicit DecoderWarningScope(QStringList* sink) : outer(decoderWarnings)
    {
        static const bool installed = [] {
            previousHandler.store(qInstallMessageHandler(collectDecoderWarnings));
            return true;
        }();
        Q_UNUSED(installed)
        decoderWarnings = sink;
    }
    ~DecoderWarningScope() { decoderWarnings = outer; }
    DecoderWarningScope(const DecoderWarningScope&) = delete;
    DecoderWarningScope& operator=(const DecoderWarningScope&) = delete;

private:
    QStringList* outer;
};

// The file as the decoder sees it, noting when the decoder wanted bytes
// that the file does not have.
class WatchedFile : public QIODevice
{
public:
    explicit WatchedFile(const QString& path) : file(path) {}

    bool openForReading()
    {
        return file.open(QIODevice::ReadOnly) && open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return false; }
    qint64 size() const override { return file.size(); }

    void startWatching()
    {
        askedAtEnd = false;
        cameShort = false;
    }

    bool askedAtEnd = false;   // a read found nothing left
    bool cameShort = false;    // a read gave fewer bytes than asked for

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (maxSize <= 0)
            return 0;
        if (file.pos() != pos() && !file.seek(pos()))
            return -1;
        const qint64 got = file.read(data, maxSize);
        if (got <= 0)
            askedAtEnd = true;
        if (got < maxSize)
            cameShort = true;
        return got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QFile file;
};

// The kinds the program takes: its file filter's, and GIF, which the
// signature table of the format helper names.
bool isTakenFormat(const QByteArray& format)
{
    return format == "jpeg" || format == "png" || format == "bmp" || format == "tiff" || format == "gif";
}

// These decoders fetch fixed-size blocks, so the last fetch of a whole
// file comes back short too; for them only a fetch past the end tells a
// cut file. The others ask for exactly the bytes they need.
bool fetchesBlocks(const QByteArray& format)
{
    return format == "jpeg" || format == "gif";
}

bool tooLarge(const QSize& size)
{
    return size.width() > maxPictureSide || size.height() > maxPictureSide
        || static_cast<qint64>(size.width()) * size.height() > maxPicturePixels;
}

QImage flattenedOnWhite(const QImage& image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.setDotsPerMeterX(image.dotsPerMeterX());
    flat.setDotsPerMeterY(image.dotsPerMeterY());
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

Picture refused(const QString& path, PictureFault fault, const QString& why)
{
    fileLogger(LogWarning) << "readPicture refused " << path.toStdString() << ": " << why.toStdString();
    Picture picture;
    picture.fault = fault;
    return picture;
}

} // namespace

Picture readPicture(const QString& path)
{
    WatchedFile device(path);
    if (!device.openForReading())
        return refused(path, PictureFault::Unreadable, QStringLiteral("cannot be opened"));

    QStringList warnings;
    const DecoderWarningScope collecting(&warnings);
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (!isTakenFormat(format))
        return refused(path, PictureFault::Unreadable, QStringLiteral("no picture of a kind taken"));
    const QSize declared = reader.size();
    if (declared.isEmpty())
        return refused(path, PictureFault::Unreadable, QStringLiteral("no size in the header"));
    if (tooLarge(declared)) {
        return refused(path, PictureFault::TooLarge,
                       QStringLiteral("declares %1 x %2 pixels").arg(declared.width()).arg(declared.height()));
    }

    device.startWatching();
    QImage image;
    if (!reader.read(&image))
        return refused(path, PictureFault::Damaged, reader.errorString());
    const bool cut = fetchesBlocks(format) ? device.askedAtEnd : device.cameShort;
    if (cut)
        return refused(path, PictureFault::Damaged, QStringLiteral("the file ends before the picture"));
    if (!warnings.isEmpty())
        return refused(path, PictureFault::Damaged, warnings.join(QStringLiteral("; ")));
    if (image.size() != declared && image.size() != declared.transposed())
        return refused(path, PictureFault::Damaged, QStringLiteral("decoded to another size than declared"));

    Picture picture;
    picture.image = image.hasAlphaChannel() ? flattenedOnWhite(image) : std::move(image);
    picture.fault = PictureFault::None;
    picture.format = format;
    return picture;
}
