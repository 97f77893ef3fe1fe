// The main view, as far as the frame needs it so far: the selected dictionary (search and
// translation language, product) kept in the settings, the search text, search mode and
// history stepping entry points, and the interface-language commands. The search box,
// language buttons and result lists join it with the result-list window.
#pragma once
#include "framework/fwframe.h"
#include "framework/fwwindow.h"

class LXFrame;

class LXView : public FwWindow, public FwCommandTarget {
public:
    bool createView(LXFrame* frame);
    void initialUpdate();

    int searchLanguage() const { return searchLanguage_; }
    int translationLanguage() const { return translationLanguage_; }
    int product() const { return product_; }
    void selectDictionary(int search, int translation, int product, bool radioOnly);
    void search();
    void stepHistory(int delta) {}
    void setSearchMode(int mode);
    int searchMode() const { return mode_; }
    void suspendListPainting(bool suspend) { paintingSuspended_ = suspend; }
    std::wstring searchText() const { return searchText_; }
    void clearSearchText() { searchText_.clear(); }
    bool searchBoxHasFocus() const;
    void refreshCaptions();
    void refreshAfterModuleChange() { refreshCaptions(); }

    bool onCommand(int id) override;
    bool onUpdateCommand(FwCmdUI& ui) override;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void paint();
    LXFrame* frame_ = nullptr;
    int searchLanguage_ = 0, translationLanguage_ = 0, product_ = 10;
    int mode_ = 1;
    bool paintingSuspended_ = false;
    std::wstring searchText_;
};
