// The template files of the corpus (tests/model/corpus, also the seeds for
// fuzzing the reader): every file the reader takes re-saves to a fixed
// point, and every file it refuses gives its reason and leaves the card.

#include "tests/model/modelfixtures.h"
#include "tests/support/testsupport.h"

#include "model/infra/appstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace modeltest;

namespace {

const QString corpusDir = QStringLiteral(TOLLIVAR_TEMPLATE_CORPUS);

class TemplateCorpus : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        // The corpus cards are all named "corpus", with pages 0 to 3 on 800 x 600.
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(drawnPage(800, 600).save(pictures.file(QStringLiteral("corpus_%1.jpg").arg(i)), "jpg"));
    }

    // As the importer reads: a reset card, the pictures' folder, the file.
    bool read(const QByteArray& json, const QString& folder)
    {
        card.clear();
        projectDir = folder;
        return card.unserialized(json);
    }

    // The folder a save of the card leaves: a picture for each page that
    // has one, the very file read, so the marks score alike.
    QString savedPictures()
    {
        const QString folder = pictures.file(QStringLiteral("saved"));
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        for (const QVector<PageSheet>& paper : qAsConst(card.sheets))
            for (const PageSheet& page : paper)
                if (!page.image.pixmap.isNull())
                    QFile::copy(page.image.name, folder + QLatin1Char('/') + QFileInfo(page.image.name).fileName());
        return folder;
    }

    static QStringList files(const QString& kind)
    {
        return QDir(corpusDir + QLatin1Char('/') + kind).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    }

    static QByteArray corpusFile(const QString& kind, const QString& name)
    {
        return testsupport::readFile(corpusDir + QLatin1Char('/') + kind + QLatin1Char('/') + name);
    }

    testsupport::ScratchDir pictures;
};

} // namespace

TEST_F(TemplateCorpus, everyFileTheReaderTakesResavesToAFixedPoint)
{
    const QStringList accepted = files(QStringLiteral("accepted"));
    ASSERT_GE(accepted.size(), 5);
    for (const QString& name : accepted) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(read(corpusFile(QStringLiteral("accepted"), name), pictures.path())) << card.errorString().toStdString();
        const QByteArray first = card.serialize(true);
        ASSERT_FALSE(first.isEmpty()) << card.errorString().toStdString();
        ASSERT_TRUE(read(first, savedPictures())) << card.errorString().toStdString();
        const QByteArray second = card.serialize(true);
        EXPECT_EQ(first.split('\n'), second.split('\n'));
        EXPECT_FALSE(first.contains("null"));
    }

    // Grids take their columns from the options list whatever "chooseCount"
    // says: 4 options under a count of 6, one column per question in a
    // vertical block, 2 options without a count, no grid for a count alone.
    ASSERT_TRUE(read(corpusFile(QStringLiteral("accepted"), QStringLiteral("count-mismatch.json")), pictures.path()));
    const QVector<SubArea>& blocks = card.sheets[0][0].sections[0].branch;
    EXPECT_EQ(blocks[0].frame->columnCount(), 4);
    EXPECT_EQ(blocks[0].frame->sceneRect().width(), 16 + 3 * 30 + 20);
    EXPECT_EQ(blocks[1].frame->boxAreaItem(), nullptr);
    EXPECT_EQ(blocks[2].frame->columnCount(), 2);
    EXPECT_EQ(blocks[3].frame->columnCount(), 3);

}

TEST_F(TemplateCorpus, refusedFilesGiveTheirReasonAndLeaveTheCardAsItWas)
{
    const QString tooMany = QStringLiteral("页面内容数量过多，导入失败！");
    const QString outside = QStringLiteral("框选区域超出页面范围，导入失败！");
    const QMap<QString, QString> expected{
        {"far-outside.json", outside},     {"infinite-width.json", outside}, {"just-outside.json", outside},
        {"non-finite.json", outside},      {"too-many-blocks.json", tooMany}, {"too-many-lines.json", tooMany},
        {"too-many-marks.json", tooMany},  {"too-many-numbers.json", tooMany},
        // Qt's parser would keep the first list of options and never free it.
        {"repeated-key.json", QStringLiteral("unserialized -> key \"chooses\" twice in one object")},
    };
    EXPECT_EQ(files(QStringLiteral("refused")), QStringList(expected.keys()));
    for (const QString& name : files(QStringLiteral("refused"))) {
        SCOPED_TRACE(name.toStdString());
        card.clear();
        card.paperName = QStringLiteral("before");
        projectDir = pictures.path();
        EXPECT_FALSE(card.unserialized(corpusFile(QStringLiteral("refused"), name)));
        EXPECT_EQ(card.errorString(), expected.value(name));
        EXPECT_EQ(card.paperName, QStringLiteral("before"));
        EXPECT_TRUE(card.sheets.isEmpty());
        EXPECT_TRUE(importError.isEmpty());
    }
}
