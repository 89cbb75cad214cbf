#pragma once

#include <QJsonObject>

class EIRectItem;

// The common head of a framed grid of answer boxes. The live spacings are
// the frame item's; the offsets here are what a file said.
struct GridArea
{
    double rowOffset = 0.0;
    double colOffset = 0.0;
    int direction = 1;            // exam number: 0 horizontal, 1 vertical
    EIRectItem* frame = nullptr;
    int rows = 10;
    int count = 8;                // columns of the grid
    int borderType = 0;           // index into the creating dialog's list

    void reset(bool deleteItem);
};

// The exam-number grid of a page.
struct TicketNum : GridArea
{
    bool enabled = false;
    bool existsLine = true;

    void reset(bool deleteItem);

    // {} without a frame item (an imported "ticketNum": {}), so the page
    // writer leaves the key out instead of following a null item.
    QJsonObject toJson() const;
    // Always enabled: a page that has the object has the area.
    static TicketNum fromJson(const QJsonObject& obj);
};
