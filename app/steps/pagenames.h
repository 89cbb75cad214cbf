#pragma once

// How the step messages name a page: "第二张" for the paper (nothing on a
// card of one paper) and "正面" / "反面" for the face.

#include <QString>

// The paper that holds the page with this page index, as messages count
// it: "第一张" for paper 0; empty when the card has one paper.
QString paperName(int pageIndex);
QString faceName(int side);
