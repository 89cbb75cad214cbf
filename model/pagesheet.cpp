#include "model/pagesheet.h"

#include "canvas/item/eirectitem.h"

void PageSheet::addLine(EIRectItem* item)
{
    lines.append(item);
}

void PageSheet::addSection(const Section& section)
{
    sections.append(section);
}

void PageSheet::addPageNumMark(const ImageMark& mark)
{
    pageNum.append(mark);
}

void PageSheet::setTitle(const ImageMark& mark)
{
    title.reset(false);
    title.base64 = mark.base64;
    title.item = mark.item;
}

void PageSheet::setTestMark(const TestMark& mark)
{
    testmark.reset(false);
    testmark = mark;
}

void PageSheet::setBarCode(const BarCode& mark)
{
    barCode.reset(false);
    barCode = mark;
}

void PageSheet::setPixmap(const QPixmap& pixmap)
{
    image.pixmap = pixmap;
}

void PageSheet::setImage(const PageImage& newImage)
{
    image = newImage;
}

void PageSheet::setSide(int newSide)
{
    side = newSide;
}

void PageSheet::setPageIndex(int newPageIndex)
{
    pageIndex = newPageIndex;
}

bool PageSheet::hasSection(bool subjective) const
{
    const QString& kind = subjective ? sectionTypeSubjective : sectionTypeObject;
    for (const Section& section : sections) {
        if (section.type == kind)
            return true;
    }
    return false;
}

QList<EIRectItem*> PageSheet::framingItems() const
{
    QList<EIRectItem*> items = lines;
    for (const ImageMark& mark : pageNum)
        items.append(mark.item);
    items << testmark.item << barCode.item << ticketNum.frame << title.item;
    for (const Section& section : sections) {
        for (const SubArea& block : section.branch)
            items << block.frame << block.chooseArea << block.choosePosition;
        items.append(section.frame);
    }
    items.removeAll(nullptr);
    return items;
}

int PageSheet::lineCount() const
{
    if (lines.isEmpty() || !lines.first())
        return 0;
    return lines.size();
}

void PageSheet::setLinesVisible(bool visible)
{
    for (EIRectItem* item : qAsConst(lines)) {
        if (item)
            item->setVisible(visible);
    }
}

void PageSheet::setLinesEditable(bool editable)
{
    for (EIRectItem* item : qAsConst(lines)) {
        if (item)
            item->setEditable(editable, true);
    }
}

void PageSheet::setPageNumMarksVisible(bool visible)
{
    for (const ImageMark& mark : qAsConst(pageNum)) {
        if (mark.item)
            mark.item->setVisible(visible);
    }
}

void PageSheet::setPageNumMarksEditable(bool editable)
{
    for (const ImageMark& mark : qAsConst(pageNum)) {
        if (mark.item)
            mark.item->setEditable(editable, true);
    }
}
