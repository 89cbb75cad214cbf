#pragma once

// Comparing image patches, tightening a framed mark to its ink, and the
// uniqueness checks that keep a title or page-number mark from being
// mistaken for another one.

#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QVector>

#include <opencv2/core.hpp>

// Result codes of getContentRect, checkUniqueMark and validatePageNum.
enum MarkCheckCode {
    MarkAccepted = 0,
    MarkBlank = 1,
    MarkNotUnique = 3,
    MarkCheckError = -1,
};

// How calSimilar and checkUniqueMark compare two patches.
enum SimilarityMethod {
    // Number of differing bits of the 8 x 8 average hashes, 0 to 64;
    // similar below 10.
    AverageHash = 0,
    // Best normalised correlation coefficient of template matching, -1 to
    // 1; similar above 0.75.
    TemplateMatch = 1,
};

// Average-hash bits, of 64, in which the two (grey) patches differ.
int averageHashDistance(cv::Mat a, cv::Mat b);

// See SimilarityMethod. The library refusing the pair (sizes that cross,
// different types) is logged and reported as similar: 1.0 for the hash,
// 10.0 for template matching.
double calSimilar(cv::Mat a, cv::Mat b, int method);

// The framed part of the page shrunk to the box round its ink (full-width
// ruled lines ignored), at least 25 x 16. MarkAccepted with `out` written,
// MarkBlank, or MarkCheckError (logged); `out` is written only on success.
int getContentRect(const QPixmap& page, const QRectF& rect, QRectF& out);

// A newly framed mark: not blank, tightened to its ink, and like none of
// the `stored` patches by `method`. `out` receives the tight rectangle, in
// whole pixels, with MarkAccepted and MarkNotUnique. By hash, both sides
// are compared on their ink in black and white, cut to its box, specks
// (parts far smaller than the mark, such as pencil dots) left out.
int checkUniqueMark(const QVector<QImage>& stored, const QImage& page, const QRectF& rect, QRectF& out,
                    int method);

// MarkNotUnique when the mark, colours included, matches somewhere in one of
// the stored patches with a correlation above 0.7.
int validatePageNum(QImage mark, const QVector<QImage>& stored);
