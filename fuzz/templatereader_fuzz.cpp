// Fuzzes the template reader with the bytes of a template file, read as
// an import reads it: through the template folder, with the card's page
// pictures beside it. Whatever the reader takes must save, and the saved
// file must read back and save again to the very same bytes.
//
// The pictures are those of the seed corpus (tests/model/corpus): a card
// named "corpus" with pages 0 to 3 on 800 x 600.

#include "fuzz/fuzzapp.h"

#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/removeditems.h"
#include "model/templatefolder.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QString jsonPath;

// A white page with a little print on it, as the corpus tests draw them.
QImage drawnPage()
{
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawLine(20, 20, 780, 20);
    painter.fillRect(QRect(30, 40, 120, 20), Qt::black);
    return image;
}

// As an import does before it reads: a new card, nothing left over from
// the last one.
void reset(AnswerSheet& card)
{
    card.clear();
    deleteItemsOnce(deletedItems);
    deletedItems.clear();
    removedRecords.clear();
    projectDir.clear();
    importError.clear();
}

[[noreturn]] void fail(const char* what, const QByteArray& first, const QByteArray& second)
{
    const QList<QByteArray> a = first.split('\n');
    const QList<QByteArray> b = second.split('\n');
    int line = 0;
    while (line < a.size() && line < b.size() && a[line] == b[line])
        ++line;
    std::fprintf(stderr, "templatereader: %s at line %d\n  first:  %s\n  second: %s\n", what, line + 1,
                 line < a.size() ? a[line].constData() : "(end)", line < b.size() ? b[line].constData() : "(end)");
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv)
{
    fuzzapp::start((*argv)[0]);
    const QString folder = fuzzapp::scratchFolder();
    const QImage page = drawnPage();
    for (int i = 0; i < 4; ++i) {
        if (!page.save(QStringLiteral("%1/corpus_%2.jpg").arg(folder).arg(i), "jpg")) {
            std::fprintf(stderr, "templatereader: cannot write the page pictures into %s\n", qPrintable(folder));
            std::abort();
        }
    }
    jsonPath = folder + QStringLiteral("/corpus.json");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > static_cast<std::size_t>(TemplateFolder::maxFileSize))
        return 0;
    fuzzapp::writeFile(jsonPath, QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));

    AnswerSheet card;
    reset(card);
    if (TemplateFolder::read(card, jsonPath).isEmpty()) {
        const QByteArray saved = card.serialize(true);
        // An optional mark that does not score refuses the save, as it
        // would in the program.
        if (!saved.isEmpty()) {
            fuzzapp::writeFile(jsonPath, saved);
            AnswerSheet again;
            reset(again);
            const QString fault = TemplateFolder::read(again, jsonPath);
            if (!fault.isEmpty())
                fail("the saved file is refused", saved, fault.toUtf8());
            const QByteArray resaved = again.serialize(true);
            if (resaved != saved)
                fail("saving the saved file again changes it", saved, resaved);
            reset(again);
        }
    }
    reset(card);
    return 0;
}
