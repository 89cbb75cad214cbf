#pragma once

#include "model/subarea.h"

#include <QList>

// What one removal of a framed item from a page took away.
struct RemovedItemRecord
{
    enum Kind {
        None = 0,          // the page held nothing of the item
        Line = 1,
        Title = 2,
        ExamNumber = 3,    // exam-number area or barcode
        ObjectiveBlock = 4,
        SubjectiveBlock = 5,
        Mark = 7,          // page-number mark or absent mark
    };

    SubArea block;     // for a removed block: its numbers, type, grid and border
    int kind = None;
};

// Items the operator deleted on the canvas or a validator replaced. They
// stay allocated, out of the scene, until AnswerSheet::clearPages deletes
// them; their entries are then null.
extern QList<EIRectItem*> deletedItems;
// One record per PageSheet::removeItem that found something; the
// objective and subjective validators take back the last one.
extern QList<RemovedItemRecord> removedRecords;

// The names the workflow uses for the same two lists.
inline QList<EIRectItem*>& discardedItems = deletedItems;
inline QList<RemovedItemRecord>& deletedRecords = removedRecords;

// Deletes every distinct item of the list once. An item whose ancestor is
// also in the list goes with that ancestor, since a graphics item deletes
// its children (an optional-mark area and its boxes, a section frame and
// its marks).
void deleteItemsOnce(const QList<EIRectItem*>& items);

// Deletes one item now, first clearing the entries of deletedItems that
// hold it or one of its descendants, so clearPages never sees it again.
void deleteItemNow(EIRectItem* item);
