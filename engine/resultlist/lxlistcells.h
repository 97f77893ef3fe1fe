// Steps over the cells of the result list's screen buffer, shared by the list's model
// (lxlistbox.cpp) and its layout (lxlistlayout.cpp).
#ifndef WORDMERE_ENGINE_LXLISTCELLS_H
#define WORDMERE_ENGINE_LXLISTCELLS_H

#include "base/lxlist.h"
#include "resultlist/lxlistlayout.h"

namespace lxlistcells {

typedef LXListIterator<LXLCharInfo> CellIt;

// The cell before it; an iterator of no list at the first cell.
inline CellIt previous(CellIt it)
{
    if (it.isAtBeginning())
        return CellIt();
    --it;
    return it;
}

inline CellIt following(CellIt it)
{
    ++it;
    return it;
}

// The same cell, or both at an end (an iterator of no list included).
inline bool sameNode(const CellIt &a, const CellIt &b)
{
    return a.getNode() == b.getNode();
}

} // namespace lxlistcells

#endif
