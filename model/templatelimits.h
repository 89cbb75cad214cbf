#pragma once

#include <QJsonObject>
#include <QString>

// Limits on what a template file may ask this program to build. The
// dialogs never make more than 2 papers, 50 questions by 20 options or
// 15 digits by 15 options, so these leave ample room for hand-edited files
// while keeping a corrupt number from writing past the papers or
// allocating millions of items.
constexpr int maxPaperCount = 20;
constexpr int maxGridRows = 100;
constexpr int maxGridColumns = 100;
// Option boxes of all grids on one page: one grid at its largest.
constexpr int maxBoxesOnPage = maxGridRows * maxGridColumns;
// Items of one kind on one page (lines, locate points, page-number marks,
// sections, question blocks, optional marks) and entries of one list of a
// block (numbers, options, scores). A real sheet has a few dozen.
constexpr int maxItemsOfOneKind = 1000;

// Why a parsed template file cannot be read into the card, or an empty
// text when it can. `paperCnt` is the card's count, used when the file
// has none. Runs before anything is built from the file.
QString templateFileFault(const QJsonObject& card, int paperCnt);
