#pragma once

// Building blocks for the template-model tests: framing items, drawn page
// pictures, a complete two-paper card, and a fixture that resets the
// program-wide lists and folders around each test.

#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"

#include <QJsonObject>
#include <QPixmap>
#include <QStringList>

#include <gtest/gtest.h>

namespace modeltest {

// An item as the validators make them: keep flag true, margin 8.
EIRectItem* frameItem(const QRectF& rect, QGraphicsItem* parent = nullptr, int margin = 8);

// An item that counts its own destruction, to prove every item is freed once.
class CountedItem : public EIRectItem
{
public:
    explicit CountedItem(const QRectF& rect, QGraphicsItem* parent = nullptr);
    ~CountedItem() override;

    static int created;
    static int destroyed;
};

// The text of an item's caption, empty when it has none.
QString captionOf(const EIRectItem* item);

// A white page of the given size with a little print on it.
QPixmap drawnPage(int width, int height);

// Two papers, four pages, every kind of record and mark: title and
// page-number marks, absent mark, exam-number grid, barcode, lines, locate
// points, an objective section with a horizontal and a vertical choice
// block, subjective blocks with and without optional marks, a merged
// block, a deleted page-number mark, a deleted title and a section still
// waiting for its optional marks.
void buildFullCard(AnswerSheet& card);

// Writes each page's picture as paperName_pageIndex.jpg into `folder`.
void savePagePictures(const AnswerSheet& card, const QString& folder);

QJsonObject parseObject(const QByteArray& json);
QStringList sortedKeys(const QJsonObject& obj);

// Starts each test with a cleared `card` and empty program-wide lists, and
// frees what the card and deletedItems still hold afterwards.
class ModelTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    AnswerSheet card;
};

} // namespace modeltest
