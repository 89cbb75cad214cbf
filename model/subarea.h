#pragma once

#include "model/gridarea.h"

#include <QJsonArray>
#include <QList>
#include <QStringList>

class QGraphicsItem;

// One question block: a run of questions that share one frame. Choice
// blocks carry a grid of option boxes; an optional subjective block carries
// one mark box per question.
struct SubArea : GridArea
{
    int orientation = 2;          // 0 horizontal, 1 vertical, 2 not set
    int subAreaTopicType = -1;    // code into questionTypes, -1 unknown
    QList<int> numList;
    QList<int> ixList;            // running index per number, set on save
    bool merge = false;           // continues a block with the same numbers
    QStringList chooses;
    int chooseTopicModel = 0;     // questions to answer in the group
    int chooseTopicGroup = 0;     // group id, 0 for none
    EIRectItem* chooseArea = nullptr;
    QList<EIRectItem*> choosePosition;
    QList<int> choseScore;

    void appendNumRange(int first, int last);
    bool hasMarks() const { return !choosePosition.isEmpty(); }
    bool isChoice() const;        // choice types and the unknown type -1

    // "第12题" for one number, "第12~15题" for a run, empty for none.
    static QString numbersCaption(const QList<int>& numbers);
    // The numbers and, for a choice block, its type: "第1~5题(单选)";
    // empty without numbers.
    QString caption() const;

    QJsonObject toJson() const;
    // `parent` is the section's frame, under which the mark items go.
    static SubArea fromJson(const QJsonObject& obj, QGraphicsItem* parent);

    static QJsonArray intsToJson(const QList<int>& values);
    static QJsonArray stringsToJson(const QStringList& values);
    static void jsonToInts(const QJsonArray& array, QList<int>& out);
    static void jsonToStrings(const QJsonArray& array, QStringList& out);
};
