#pragma once

// Drawn cards of the kinds the grid checks meet, worn as printing, paper,
// scanners and phones wear them: black, grey and light colours from 85 to
// 300 dpi, blurred, grainy, compressed, lit unevenly, tilted and in
// keystone up to 0.7 degrees, filled in by pencil or pen, handwritten into
// the write-in row. The real-paper table measures them with its own truth.

#include "tests/algorithms/synthetic.h"

#include <QImage>
#include <QString>
#include <QVector>

struct WornCard
{
    QString name;
    double dpi;
    QImage page;
    synthetic::PrintedGrid grid;
    bool mayRefuse; // faint print the checks may refuse, never lay out off it
};

QVector<WornCard> wornCards();
