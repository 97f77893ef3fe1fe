// Lists of conjugated forms: a form joins a list once, whatever case or accents a copy
// already there is spelt with.
#ifndef WORDMERE_CONJUGATION_LXFORMLIST_H
#define WORDMERE_CONJUGATION_LXFORMLIST_H

#include "base/lxlist.h"
#include "base/lxstring.h"

inline void addUniqueForm(LXList<lxstring> &list, const lxstring &form)
{
    for (LXList<lxstring>::iterator it = list.begin(); !it.isAtEnd(); ++it) {
        if ((*it).compare(form, false, false, LXLanguageNone) == 0)
            return;
    }
    list.push_back(form);
}

#endif
