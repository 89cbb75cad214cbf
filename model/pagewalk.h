#pragma once

// Walks every page of a card: papers in order, each front before back.
// `papers` is a card's list of papers (AnswerSheet::sheets), const to read
// the pages or not const to change them; `visit` takes one page.

template <typename Papers, typename Visit>
void forEachPageOf(Papers& papers, Visit visit)
{
    for (auto& paper : papers) {
        for (auto& page : paper)
            visit(page);
    }
}

// As forEachPageOf until `test` returns true for a page; whether it did.
template <typename Papers, typename Test>
bool anyPageOf(Papers& papers, Test test)
{
    for (auto& paper : papers) {
        for (auto& page : paper) {
            if (test(page))
                return true;
        }
    }
    return false;
}
