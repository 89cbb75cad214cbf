#pragma once

#include "model/gridarea.h"
#include "model/marks.h"
#include "model/section.h"

#include <QList>
#include <QRectF>
#include <QVector>

// One face of one paper with everything framed on it.
struct PageSheet
{
    int side = -1;                // EPageFace, -1 not yet set
    int pageIndex = -1;           // paper * 2 + side, -1 not yet set
    ImageMark title;
    QList<ImageMark> pageNum;
    int stuNoMode = 0;            // 0 not chosen, 1 exam-number grid, 2 barcode; not saved
    TicketNum ticketNum;
    BarCode barCode;
    TestMark testmark;
    QList<EIRectItem*> lines;
    PageImage image;
    QVector<Section> sections;
    QList<QRectF> locatePoint;

    void addLine(EIRectItem* item);
    void addSection(const Section& section);
    void addPageNumMark(const ImageMark& mark);
    void setTitle(const ImageMark& mark);
    void setTestMark(const TestMark& mark);
    void setBarCode(const BarCode& mark);
    void setPixmap(const QPixmap& pixmap);
    void setImage(const PageImage& newImage);
    void setSide(int newSide);
    void setPageIndex(int newPageIndex);

    bool hasSection(bool subjective) const;
    int lineCount() const;
    // Every framing item the page's records hold, without nulls; an item
    // may be listed twice (merged blocks share their marks).
    QList<EIRectItem*> framingItems() const;

    void setLinesVisible(bool visible);
    void setLinesEditable(bool editable);
    void setPageNumMarksVisible(bool visible);
    void setPageNumMarksEditable(bool editable);

    // Takes the record that holds `item` out of the page, without deleting
    // the item, and appends what it took to removedRecords.
    void removeItem(EIRectItem* item);

    // The page object; "pageNum" only when the card has more than two pages.
    QJsonObject toJson(int cardPageCnt) const;
    QJsonObject toJson() const;   // with the page count of the global card
    // Page pictures are named after the card: paperName_pageIndex.jpg.
    static PageSheet fromJson(const QJsonObject& obj, const QString& paperName);
    static PageSheet fromJson(const QJsonObject& obj); // with the global card's name
    // Loads projectDir/baseName.jpg; a missing picture sets importError.
    static PageImage loadImage(const QJsonObject& img, const QString& baseName);
};
