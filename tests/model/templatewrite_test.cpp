// Where a save of the template folder goes, and what it may remove.

#include "tests/model/modelfixtures.h"
#include "tests/support/testsupport.h"

#include "model/infra/appstate.h"
#include "model/templatefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace modeltest;

namespace {

class TemplateWrite : public ModelTest
{
protected:
    // One paper, two drawn pages, the card "卡1".
    void SetUp() override
    {
        ModelTest::SetUp();
        card.paperName = QStringLiteral("卡1");
        card.pageCnt = 2;
        card.sheets.resize(1);
        for (int face = 0; face < 2; ++face) {
            PageSheet page;
            page.setPageIndex(face);
            page.setSide(face);
            page.setPixmap(drawnPage(400, 300));
            card.sheets[0].append(page);
        }
    }

    // A folder as an earlier save of the card left it.
    QString earlierFolder(const QString& name)
    {
        const QString folder = scratch.file(name);
        EXPECT_TRUE(QDir().mkpath(folder));
        EXPECT_TRUE(testsupport::writeFile(folder + QStringLiteral("/卡1.json"), "{}"));
        return folder;
    }

    testsupport::ScratchDir scratch;
};

} // namespace

TEST(TemplatePlaces, theCardsFolderIsTheChosenOneOnlyWhenItIsNamedAfterTheCard)
{
    using TemplateFolder::savePlaces;
    const QString card = QStringLiteral("卡1");
    auto places = [&](const QString& savePath, bool finished) {
        const TemplateFolder::SavePlaces p = savePlaces(savePath, card, finished);
        return QStringList({p.cardFolder, p.written, p.other});
    };
    EXPECT_EQ(places("/d/T", false), QStringList({"/d/T/卡1", "/d/T/卡1_(未完成)", "/d/T/卡1"}));
    EXPECT_EQ(places("/d/T/卡1", true), QStringList({"/d/T/卡1", "/d/T/卡1", "/d/T/卡1_(未完成)"}));
    EXPECT_EQ(places("/d/卡10", true), QStringList({"/d/卡10/卡1", "/d/卡10/卡1", "/d/卡10/卡1_(未完成)"}));
    EXPECT_EQ(places("/", true), QStringList({"/卡1", "/卡1", "/卡1_(未完成)"}));

    using TemplateFolder::withoutUnfinishedSuffix;
    EXPECT_EQ(withoutUnfinishedSuffix("/d/T/卡1_(未完成)/"), QStringLiteral("/d/T/卡1"));
    EXPECT_EQ(withoutUnfinishedSuffix("/d/T/卡1"), QStringLiteral("/d/T/卡1"));
    EXPECT_EQ(withoutUnfinishedSuffix("/d/_(未完成)"), QStringLiteral("/d/_(未完成)"));
}

TEST_F(TemplateWrite, aNameThatIsNoFolderWritesNothing)
{
    for (const char* name : {"..", "a/b", ""}) {
        card.paperName = QString::fromUtf8(name);
        EXPECT_EQ(TemplateFolder::write(card, scratch.path(), true).result, TemplateFolder::SaveResult::BadName);
    }
    EXPECT_TRUE(QDir(scratch.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST_F(TemplateWrite, theChosenFolderAndLinksAreNeverRemoved)
{
    // The card's own folder was chosen; an unfinished save goes beside it
    // and leaves it.
    const QString own = earlierFolder(QStringLiteral("卡1"));
    TemplateFolder::SaveOutcome saved = TemplateFolder::write(card, own, false);
    EXPECT_EQ(saved.result, TemplateFolder::SaveResult::Written);
    EXPECT_EQ(saved.places.written, scratch.file(QStringLiteral("卡1_(未完成)")));
    EXPECT_EQ(projectDir, saved.places.written);
    EXPECT_TRUE(QFileInfo::exists(own + QStringLiteral("/卡1.json")));
    EXPECT_EQ(QDir(saved.places.written).entryList(QDir::Files), QStringList({"卡1.json", "卡1_0.jpg", "卡1_1.jpg"}));

    // The other variant is a link to some folder of the card: it stays,
    // and so does what it points to.
    const QString elsewhere = earlierFolder(QStringLiteral("elsewhere"));
    const QString place = scratch.file(QStringLiteral("place"));
    ASSERT_TRUE(QDir().mkpath(place));
    ASSERT_TRUE(QFile::link(elsewhere, place + QStringLiteral("/卡1_(未完成)")));
    saved = TemplateFolder::write(card, place, true);
    EXPECT_EQ(saved.result, TemplateFolder::SaveResult::Written);
    EXPECT_TRUE(QFileInfo(place + QStringLiteral("/卡1_(未完成)")).isSymLink());
    EXPECT_EQ(testsupport::readFile(elsewhere + QStringLiteral("/卡1.json")), QByteArray("{}"));
}
