#pragma once

#include "model/optionalgroup.h"
#include "model/pagesheet.h"
#include "model/pagewalk.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The one template being edited: the card settings and its papers, each a
// front and a back page. Lives as the program-wide `answerSheet`.
struct AnswerSheet
{
    QString errorText;            // last failure of the reader or the mark check
    bool notJson = false;         // the reader's last failure: the bytes hold no JSON object
    QByteArray json;              // the text of the last successful toJson
    int paperCnt = 1;
    int pageCnt = 0;
    bool redCard = false;
    bool isObjectVerticalAlign = false;
    bool jumpObjects = false;
    bool jumpSubjects = false;
    bool jumpLines = false;
    int absentMarkCnt = 2;
    int answerSheetType = 3;
    int optionalGroupCnt = 0;
    QString paperName = QStringLiteral("unknow");
    QString orientation = QStringLiteral("horizontal");
    QVector<QVector<PageSheet>> sheets;

    QString errorString() const { return errorText; }

    // Every page, papers in order and each front before back; pages are
    // only read (forEachPageOf(sheets, ...) changes them).
    template <typename Visit>
    void forEachPage(Visit visit) const { forEachPageOf(sheets, visit); }
    // Whether some page passes `test`; the walk stops at the first.
    template <typename Test>
    bool anyPage(Test test) const { return anyPageOf(sheets, test); }

    // Back to a new card's settings without papers; redCard and
    // absentMarkCnt stay, as the new-project dialog sets them again.
    void clear();
    // Deletes every framing item of every page and of deletedItems; the
    // pages keep their pictures and indexes.
    void clearPages();

    // The JSON text of the card, empty when an optional mark fails to score.
    QByteArray serialize(bool isComplete);
    QByteArray toJson(bool isComplete);
    // Fills the card from a template file; false with errorText, and the
    // card as it was, on a parse error, a top level that is not an object,
    // or a file this program cannot hold (unsafe card name, pages without a
    // paper, oversized grids, absurd numbers of items, framing off its page).
    bool unserialized(const QByteArray& json);

    OptionalGroupList optionalGroups() const;
    bool setOptionalGroups(const OptionalGroupList& groups);
    // Some optional question belongs to no group, or to one nobody answers.
    bool hasUnassociatedOptional() const;
    // The group ids the blocks carry are 1 to optionalGroupCnt, none
    // missing, as the association dialog hands them out.
    bool optionalGroupsNumbered() const;
    // Takes the record that holds `item` out of `page` (PageSheet::removeItem)
    // and so its question out of its optional group. True when the groups
    // left are no longer ones the association dialog could have made (a
    // group gone, or left with one question or with all of them to answer):
    // the association is due again.
    bool removeFramedItem(PageSheet& page, EIRectItem* item);
    // Whether one more optional block of `questionCount` questions still
    // leaves every optional question a group: the blocks of several
    // questions are groups of their own, the single questions share at most
    // `maxPerGroup` to each of the groups left under `maxGroups`.
    bool optionalRoomFor(int questionCount, int maxGroups, int maxPerGroup) const;
    // Scores every optional mark on its page and numbers every question.
    bool checkOptionalMarks();
    bool findSubjectiveByNumList(const QList<int>& numbers, QuestionLocation& where) const;
    // A copy of the last block of the last section on that page (any page
    // with anyPage), or a new block.
    SubArea lastQuestion(int pageIndex, bool anyPage) const;
    bool hasFramedKind(const QString& kind) const;
};

extern AnswerSheet answerSheet;

extern const QString pollutedMarkMessage;   // "选做题标记不合格！可能被污染。"
