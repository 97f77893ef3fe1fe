// What the main frame asks of the view that fills it. The frame finds the view as the
// object of its view window, so it never calls a view that is gone; the view implements
// this without the frame knowing its class.
#pragma once
#include "searchmode.h"
#include <string>

class LXFrameView {
public:
    virtual ~LXFrameView() = default;
    virtual int searchLanguage() const = 0;
    virtual int translationLanguage() const = 0;
    // Another program asked for a language pair: select it and search again.
    virtual void selectLanguagePair(int searchLanguage, int translationLanguage) = 0;
    virtual std::wstring searchText() const = 0;
    // A paste that reached the frame: the search text is cleared, and the clipboard's text
    // goes into the search box when it has the focus.
    virtual void pasteIntoSearchBox() = 0;
    // One step through the search history: +1 newer, -1 older.
    virtual void stepHistory(int delta) = 0;
    virtual void setSearchMode(SearchMode mode) = 0;
    // While the frame is being moved or sized the lists only clear their background.
    virtual void suspendListPainting(bool suspend) = 0;
    // Every caption again, in the interface language.
    virtual void refreshCaptions() = 0;
    // Modules were added or removed: languages, lists and controls again.
    virtual void refreshAfterModuleChange() = 0;
};
