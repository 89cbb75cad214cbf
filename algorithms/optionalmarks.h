#pragma once

// Mark boxes of optional questions: finding them in a framed area and
// measuring how dark they are on the page.

#include <QList>
#include <QPixmap>
#include <QRectF>
#include <QVector>

#include <opencv2/core.hpp>

#include <vector>

struct OptionalMarkArea
{
    QRectF rect;         // page coordinates
    double score = 0.0;  // darkness, 0 (white) to 255 (black)
};

// 255 minus the mean of the patch's first channel (blue for BGR), never
// below 0.
double darknessScore(const cv::Mat& patch);

// Sort predicate: larger contour area first.
bool compareContourArea(std::vector<cv::Point> a, std::vector<cv::Point> b);

// Finds `count` mark boxes inside `frame` of the page and appends them to
// `areas`, largest shape first; when the frame holds fewer shapes it is
// split into `count` equal boxes scored 80. Returns 0 when boxes were
// written, 1 when the frame is blank, -1 on an error (logged).
int getOptQuesAreas(const QPixmap& page, const QRectF& frame, int count, QVector<OptionalMarkArea>& areas);

// Appends the darkness of each rectangle, moved by (dx, dy), to `scores`.
// Returns 0 when every rectangle was scored, -1 on an error (logged; the
// scores appended before it stay). A rectangle partly off the page is
// scored on its part on the page; one wholly off it, or empty, is an error.
int getChooseScore(const QPixmap& page, QList<QRectF> rects, QList<int>& scores, int dx, int dy);
