#pragma once

#include <QList>

// The values a numeric device option allows: a range with its step (0 for
// any value in it), or a list.
struct OfferedValues
{
    bool isRange = false;
    double low = 0;
    double high = 0;
    double step = 0;
    QList<double> listed;
};

// What to scan at for pages of `wanted` dots per inch: the smallest offered
// resolution at or above it (pages are then shrunk, never enlarged); where
// every offered one is lower, the highest of them (pages are enlarged).
// -1 when nothing is offered.
double chooseResolution(const OfferedValues& offered, double wanted);
