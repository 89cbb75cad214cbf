#pragma once

// The line step: verify that a frame holds a long, continuous, nearly
// horizontal line, measure its tilt and straighten the page by it, moving
// the frame and the page's earlier line rectangles with the picture.

#include <QPixmap>
#include <QRectF>
#include <QVector>

#include <opencv2/core.hpp>

#include <vector>

// On true: *frame is the turned frame (whole pixels), *rotatedPage the
// straightened page and *lines the turned rectangles, same order. On false
// nothing is written. Never throws and writes no log record.
bool checkLine(const QPixmap& page, QPixmap* rotatedPage, QRectF* frame, QVector<QRectF>* lines);

// Turns the page by the tilt of the line inside *frame. On false nothing is
// written.
bool correctLineSkew(const cv::Mat& page, cv::Mat& rotated, cv::Rect* frame, std::vector<cv::Rect>* rects);

// The mean tilt, in degrees, of the line segments of `region` that span at
// least a quarter of its width; positive when the right end lies lower.
// False when there is none or the tilt exceeds 5 degrees either way.
bool getLineAngle(const cv::Mat& region, double* angle);

// Turns `region` grey in place and fills `segments` with the continuous
// straight ink lines found in it, end points in region pixels. True when
// one of them spans more than 100 pixels horizontally.
bool detectLines(cv::Mat& region, std::vector<cv::Vec4f>& segments);

// Turns the picture about its centre by `angle` degrees (positive is
// counter-clockwise as displayed); keeps the size, uncovered corners white.
void rotateImage(cv::Mat source, cv::Mat* destination, double angle);

// Turns the top-left and bottom-right corners of *rect about `centre` the
// way rotateImage turns the picture. Always true.
bool rotateRect(cv::Rect* rect, double angle, cv::Point2f centre);

cv::Point rotatePoint(const cv::Point& p, cv::Point centre, double angleInRadians);
