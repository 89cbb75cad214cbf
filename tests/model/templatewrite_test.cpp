// Where a save of the template folder goes, what it may remove, what it
// keeps byte for byte, and what a save killed or failing at any of its
// steps on disk leaves.

#include "tests/model/modelfixtures.h"
#include "tests/support/savesteps.h"
#include "tests/support/testsupport.h"

#include "model/infra/appstate.h"
#include "model/templatefolder.h"
#include "platform/durablefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>

#include <cstdio>
#include <sys/stat.h>

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

// What a child process of the kill test does, passed in its environment.
const char* const childCardVariable = "TOLLIVAR_CHILD_CARD";
const char* const childFinishedVariable = "TOLLIVAR_CHILD_FINISHED";
const char* const childKillVariable = "TOLLIVAR_CHILD_KILL_AT";

// The page with a box drawn on it, as a rescan of the same size gives it.
QPixmap changed(const QPixmap& page)
{
    QImage image = page.toImage();
    QPainter(&image).fillRect(QRect(200, 150, 60, 40), Qt::black);
    return QPixmap::fromImage(image);
}

// What one save step on disk was, from the line the step hooks write:
// the call and the name it was for, page numbers and staging names left out.
QString stepKind(const QString& line)
{
    const QRegularExpressionMatch step = QRegularExpression(QStringLiteral("save step \\d+: (\\S+) (.*)$")).match(line);
    QString name = QFileInfo(step.captured(2)).fileName();
    name.replace(QRegularExpression(QStringLiteral("_\\d+\\.jpg$")), QStringLiteral("_N.jpg"));
    return step.captured(1) + QLatin1Char(' ') + (TemplateFolder::isStagingFolder(name) ? QStringLiteral("staging") : name);
}

using Digests = std::map<std::string, std::string>;

// Reads the card at `json`, draws on its second page, changes a key of its
// file and saves it beside (finished) or over (unfinished) its folder, with
// the step hooks going for the write only: `hook` set to `step`. What the
// save answered, or -1 when the card did not read.
int saveWithPageChanged(const QString& json, bool finished, const char* hook, const QByteArray& step)
{
    AnswerSheet card;
    if (!TemplateFolder::read(card, json).isEmpty())
        return -1;
    card.sheets[0][1].setPixmap(changed(card.sheets[0][1].image.pixmap));
    card.jumpLines = !card.jumpLines;
    restartSaveSteps();
    qputenv(hook, step);
    const TemplateFolder::SaveResult result =
        TemplateFolder::write(card, QFileInfo(QFileInfo(json).absolutePath()).absolutePath(), finished).result;
    qunsetenv(hook);
    card.clear();
    return int(result);
}

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

TEST_F(TemplateWrite, anUnchangedCardSavedAgainKeepsEveryByteAndTheOperatorsFiles)
{
    const QString place = scratch.file(QStringLiteral("place"));
    ASSERT_EQ(TemplateFolder::write(card, place, true).result, TemplateFolder::SaveResult::Written);
    const QString folder = place + QStringLiteral("/卡1");
    const QString json = folder + QStringLiteral("/卡1.json");
    // The operator's files, a page of a former larger card, and what a
    // save of an older build left when it was cut short.
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/scans")));
    ASSERT_TRUE(testsupport::writeFile(folder + QStringLiteral("/scans/page.png"), "scan"));
    ASSERT_TRUE(testsupport::writeFile(folder + QStringLiteral("/notes.txt"), "keep"));
    ASSERT_TRUE(QFile::link(QStringLiteral("notes.txt"), folder + QStringLiteral("/notes-link")));
    ASSERT_TRUE(testsupport::writeFile(folder + QStringLiteral("/卡1_5.jpg"), "stale"));
    ASSERT_TRUE(testsupport::writeFile(folder + QStringLiteral("/卡1.json.Ab12Cd"), "cut short"));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0750), 0);
    Digests written = testsupport::fileDigests(folder);
    written.erase("卡1_5.jpg");
    written.erase("卡1.json.Ab12Cd");
    const platform::FileStamp earlierPicture = platform::fileStamp(folder + QStringLiteral("/卡1_0.jpg"));
    // Held open, the earlier picture keeps its inode number from being
    // handed to a file written later.
    QFile heldOpen(folder + QStringLiteral("/卡1_0.jpg"));
    ASSERT_TRUE(heldOpen.open(QIODevice::ReadOnly));

    // Read back and saved again, also where the file system cannot
    // exchange two folders and through a link to the card's folder.
    const QString link = scratch.file(QStringLiteral("卡1"));
    ASSERT_TRUE(QFile::link(folder, link));
    const QList<QPair<QString, bool>> saves = {{place, false}, {place, true}, {link, false}};
    for (const auto& save : saves) {
        SCOPED_TRACE(save.first.toStdString() + (save.second ? " without exchange" : ""));
        if (save.second)
            qputenv("TOLLIVAR_SAVE_NO_EXCHANGE", "1");
        AnswerSheet again;
        ASSERT_EQ(TemplateFolder::read(again, json), QString());
        EXPECT_EQ(TemplateFolder::write(again, save.first, true).result, TemplateFolder::SaveResult::Written);
        again.clear();
        qunsetenv("TOLLIVAR_SAVE_NO_EXCHANGE");
        EXPECT_EQ(testsupport::fileDigests(folder), written);
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0750u);
        EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList({"place", "卡1"}));
        EXPECT_EQ(QDir(place).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"卡1"}));
    }
    EXPECT_NE(platform::fileStamp(folder + QStringLiteral("/卡1_0.jpg")).inode, earlierPicture.inode) << "not written again";
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/notes-link")).isSymLink());

    // A page straightened or rescanned is encoded anew; the others keep
    // their bytes, in memory too once saved.
    card.sheets[0][1].setPixmap(changed(card.sheets[0][1].image.pixmap));
    ASSERT_EQ(TemplateFolder::write(card, place, true).result, TemplateFolder::SaveResult::Written);
    const Digests resaved = testsupport::fileDigests(folder);
    EXPECT_EQ(resaved.at("卡1_0.jpg"), written.at("卡1_0.jpg"));
    EXPECT_NE(resaved.at("卡1_1.jpg"), written.at("卡1_1.jpg"));
    ASSERT_EQ(TemplateFolder::write(card, place, true).result, TemplateFolder::SaveResult::Written);
    EXPECT_EQ(testsupport::fileDigests(folder), resaved);
}

TEST_F(TemplateWrite, aSaveKilledOrFailingAtAnyStepLeavesTheEarlierFolderOrTheNewOneWhole)
{
    // The earlier template: unfinished, kept aside to start each run from.
    const QString place = scratch.file(QStringLiteral("place"));
    const QString unfinished = place + QStringLiteral("/卡1_(未完成)");
    ASSERT_EQ(TemplateFolder::write(card, place, false).result, TemplateFolder::SaveResult::Written);
    const Digests earlier = testsupport::fileDigests(unfinished);
    const QString kept = scratch.file(QStringLiteral("kept"));
    ASSERT_TRUE(QDir().rename(place, kept));
    const auto restore = [&] {
        QDir(place).removeRecursively();
        QDir().mkpath(unfinished);
        for (const QString& file : QDir(kept + QStringLiteral("/卡1_(未完成)")).entryList(QDir::Files))
            QFile::copy(kept + QStringLiteral("/卡1_(未完成)/") + file, unfinished + QLatin1Char('/') + file);
    };
    // A child reads it, changes page 1 and saves, killed at a step (or at
    // none); the steps it took, and what the save answered.
    struct Run
    {
        bool killed = false;
        QStringList steps;
        int result = -1;
    };
    const auto save = [&](bool finished, int killAt) {
        QProcessEnvironment added;
        added.insert(QString::fromLatin1(childCardVariable), unfinished + QStringLiteral("/卡1.json"));
        added.insert(QString::fromLatin1(childFinishedVariable), finished ? QStringLiteral("1") : QString());
        added.insert(QString::fromLatin1(childKillVariable), QString::number(killAt));
        const testsupport::ChildRun child =
            testsupport::runDisabledTests(QStringLiteral("SaveStepChild.*"), added, scratch.path());
        Run run;
        run.killed = child.killed;
        for (const QString& line : QString::fromUtf8(child.output).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("save step ")))
                run.steps.append(stepKind(line));
            else if (line.startsWith(QLatin1String("save result: ")))
                run.result = line.mid(13).toInt();
        }
        if (!child.killed && !child.passed)
            ADD_FAILURE() << child.output.toStdString();
        return run;
    };
    const auto visibleEntries = [&] { return QDir(place).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); };
    const auto hiddenEntries = [&] {
        QStringList hidden = QDir(place).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& visible : visibleEntries())
            hidden.removeOne(visible);
        return hidden;
    };
    // A folder import takes, with the files of one of the two templates.
    const auto whole = [&](const QString& folder, const Digests& expected) {
        AnswerSheet read;
        EXPECT_EQ(TemplateFolder::read(read, folder + QStringLiteral("/卡1.json")), QString()) << folder.toStdString();
        read.clear();
        EXPECT_EQ(testsupport::fileDigests(folder), expected) << folder.toStdString();
    };

    struct Row
    {
        const char* what;
        bool finished;
        QString newFolder;
        QStringList steps;   // in order, pictures side by side
        int firstKilled;     // the steps before are killed in the row above
    };
    const QStringList written = {"mkdir staging", "fsync 卡1.json", "fsync 卡1_N.jpg", "fsync 卡1_N.jpg",
                                 "fsync staging"};
    const QList<Row> rows = {
        {"saved again unfinished: exchanged with the earlier folder", false, unfinished,
         written + QStringList({"exchange 卡1_(未完成)", "fsync place", "rmdir staging"}), 1},
        {"saved finished: moved beside it, the unfinished one set aside and removed", true,
         place + QStringLiteral("/卡1"),
         written + QStringList({"rename 卡1", "fsync place", "rename staging", "rmdir staging"}),
         int(written.size()) + 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        restore();
        const Run complete = save(row.finished, 1000);
        ASSERT_EQ(complete.steps.join(", ").toStdString(), row.steps.join(", ").toStdString());
        ASSERT_EQ(complete.result, int(TemplateFolder::SaveResult::Written));
        const Digests saved = testsupport::fileDigests(row.newFolder);
        ASSERT_NE(saved, earlier);
        // The step that puts the new folder in place, after those that write it.
        const int swap = written.size() + 1;

        for (int step = 1; step <= row.steps.size(); ++step) {
            SCOPED_TRACE(row.steps[step - 1].toStdString());
            const bool before = step <= swap;
            // The step fails (here): before the new folder stands nothing
            // changed; after, the save is done all the same.
            restore();
            const int failed = saveWithPageChanged(unfinished + QStringLiteral("/卡1.json"), row.finished,
                                                   "TOLLIVAR_SAVE_FAIL_AT", QByteArray::number(step));
            EXPECT_EQ(failed != int(TemplateFolder::SaveResult::Written), before) << failed;
            whole(before ? unfinished : row.newFolder, before ? earlier : saved);
            if (before)
                EXPECT_EQ(hiddenEntries(), QStringList());

            if (step < row.firstKilled)
                continue;
            // Killed as the step is about to be taken: what is in sight is
            // the earlier template or the new one, whole, and the one the
            // step leaves is there.
            restore();
            const Run killed = save(row.finished, step);
            EXPECT_TRUE(killed.killed);
            // A picture on another worker may say its step before the kill lands.
            EXPECT_EQ(killed.steps.mid(0, step), row.steps.mid(0, step));
            const QStringList visible = visibleEntries();
            EXPECT_TRUE(visible.contains(QFileInfo(before ? unfinished : row.newFolder).fileName()));
            for (const QString& entry : visible) {
                const QString folder = place + QLatin1Char('/') + entry;
                EXPECT_TRUE(folder == unfinished || folder == row.newFolder) << entry.toStdString();
                whole(folder, folder == row.newFolder && !before ? saved : earlier);
            }
            for (const QString& hidden : hiddenEntries()) {
                AnswerSheet read;
                EXPECT_EQ(TemplateFolder::read(read, place + QLatin1Char('/') + hidden + QStringLiteral("/卡1.json")),
                          QStringLiteral("模板文件夹是保存时的临时文件夹，导入失败！"));
                read.clear();
            }
        }

        // What the last kill left hidden (the earlier folder, not yet
        // removed), the next save clears; unchanged, it keeps every byte.
        ASSERT_FALSE(hiddenEntries().isEmpty());
        AnswerSheet again;
        ASSERT_EQ(TemplateFolder::read(again, row.newFolder + QStringLiteral("/卡1.json")), QString());
        EXPECT_EQ(TemplateFolder::write(again, place, row.finished).result, TemplateFolder::SaveResult::Written);
        again.clear();
        whole(row.newFolder, saved);
        EXPECT_EQ(hiddenEntries(), QStringList());
        EXPECT_EQ(visibleEntries(), QStringList({QFileInfo(row.newFolder).fileName()}));
    }
}

namespace {
using SaveStepChild = ModelTest;
} // namespace

// Run by the test above in a process of its own: saves the card changed;
// killed at the step its environment names.
TEST_F(SaveStepChild, DISABLED_savesTheCardWithOnePageChanged)
{
    const int result = saveWithPageChanged(qEnvironmentVariable(childCardVariable),
                                           !qEnvironmentVariable(childFinishedVariable).isEmpty(),
                                           "TOLLIVAR_SAVE_KILL_AT", qgetenv(childKillVariable));
    std::printf("save result: %d\n", result);
    std::fflush(stdout);
}
