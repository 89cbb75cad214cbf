#pragma once

#include "model/subarea.h"

#include <QString>
#include <QVector>

// One framed question section of a page: the objective section holds every
// choice block of the page; a subjective section holds one answer area.
struct Section
{
    QString type;                 // "Object" or "Subjective"
    EIRectItem* frame = nullptr;
    QVector<SubArea> branch;
    int step = 0;                 // 1 while optional marks are still to frame

    // Drops the blocks whose item was deleted on the canvas, then appends.
    void addSubArea(const SubArea& block);
    void dropDeadItems();

    // {} when the frame is missing or was deleted; blocks whose item was
    // deleted are left out.
    QJsonObject toJson() const;
    static Section fromJson(const QJsonObject& obj);
};

extern const QString sectionTypeObject;      // "Object"
extern const QString sectionTypeSubjective;  // "Subjective"
