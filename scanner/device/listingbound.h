#pragma once

#include <chrono>

// SANE's net backend waits on its servers without any bound: a server that
// froze (stopped, or its machine hung) still accepts a connection, and then
// never answers. While one of these lives, every network connection a
// backend opens waits at most `bound` for each answer, so such a server is
// left out of the scanner list instead of holding it for good. Once the
// listing is over the bound is lifted again: a scan's own waits (a lamp
// warming up) are the program's to judge.
//
// This works by the scanner process's own connect(), which the backends
// reach before the C library's (the executable exports it).
class ListingBound
{
public:
    explicit ListingBound(std::chrono::milliseconds bound);
    ~ListingBound();
    ListingBound(const ListingBound&) = delete;
    ListingBound& operator=(const ListingBound&) = delete;
};
