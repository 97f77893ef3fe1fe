// LXListBox: the platform-neutral model of the result list. It runs searches against
// the data manager, keeps the result positions with their display texts, lays them out
// into a screen buffer of character cells, scrolls, hit-tests, keeps the selection and
// draws through twelve abstract operations that a renderer subclass implements. All
// coordinates are pixels; all text is lxstring.
//
// The selection is kept as the selected term and a range of character indexes into its
// display text, so that it survives every re-layout.
#ifndef WORDMERE_ENGINE_LXLISTBOX_H
#define WORDMERE_ENGINE_LXLISTBOX_H

#include <cstdint>

#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxstring.h"
#include "resultlist/lxlistlayout.h"
#include "search/lxdmiterator.h"

class LXDataManager;
struct LXStem;
class LXMarkupExpander;

// Scroll events of handleScrollEvent, as the renderer maps its scroll bar and keys to them.
enum LXLEvent {
    LXLEventLineUp = 1,
    LXLEventLineDown = 2,
    LXLEventStepUp = 3,             // the same as a line up
    LXLEventStepDown = 4,           // the same as a line down
    LXLEventPageUp = 5,
    LXLEventPageDown = 6,
    LXLEventThumb = 7               // to the position given with it
};

class LXListBox {
public:
    enum SearchType : int32_t { Browse = 1, StemSearch = 2, RegexSearch = 3 };
    enum { kCaptionCount = 8, kMaxRegexMatches = 50, kMaxScrollSteps = 16000 };
    enum { kDefaultApproxPrefix = 2 };
    enum { kDefaultIndentFirst = 4, kDefaultIndentContinuation = 16, kDefaultIndentTranslation = 20 };
    // Where a hit test found the point.
    enum HitKind : int32_t {
        HitOnCell = 0,
        HitLeftOfCell = 1,          // in the margin of the cell's line
        HitAboveCell = 2            // past the end of the line before the cell
    };
    // Captions.
    enum {
        CaptionEmpty = 0,
        CaptionNotFound = 2,
        CaptionSuggestion = 3,
        CaptionRegexFinished = 4,
        CaptionRegexRunning = 5,
        CaptionRegexLimit = 6,
        CaptionRegexCancelled = 7
    };

    LXListBox();
    LXListBox(LXDataManager *dataManager, const LXLRectangle &rect);
    LXListBox(const LXListBox &other);
    LXListBox &operator=(const LXListBox &other);

    // The twelve drawing operations of a renderer.
    virtual ~LXListBox();
    virtual void getScrollBarInfo(int32_t &value, int32_t &min, int32_t &max, int32_t &page) = 0;
    virtual void setStyle(uint32_t flags) = 0;
    virtual uint32_t getStyle() = 0;
    virtual void setColor(LXLColor color) = 0;
    virtual LXLColor getColor() = 0;
    virtual void setScrollBarInfo(int32_t value, int32_t min, int32_t max, int32_t page) = 0;
    virtual void eraseBackground() = 0;
    virtual void fillRect(const LXLRectangle &rect, LXLColor color) = 0;   // colour 0: the background
    virtual void frameRect(const LXLRectangle &rect, LXLColor color) = 0;
    virtual int32_t getCharWidth(uint32_t codePoint) = 0;
    // background: 0 transparent, else a colour index painted behind the text.
    virtual void drawString(const lxstring &text, int32_t x, int32_t y, int background) = 0;

    // Every field back to its default; the data manager to none.
    void clear();

    // Settings.
    const LXLRectangle &getRect() const { return m_rect; }
    void setRect(const LXLRectangle &rect);
    void setIndents(int32_t first, int32_t continuation, int32_t translation);
    void setMaxLinesPerTerm(uint32_t n) { m_maxLinesPerTerm = n; }
    uint32_t getMaxLinesPerTerm() const { return m_maxLinesPerTerm; }
    void enableApproximateSearch(bool on) { m_approximate = on; }
    bool isApproximateSearchEnabled() const { return m_approximate; }
    void setApproxMatchPrefixLength(int32_t n) { m_approxPrefix = n == 0 ? kDefaultApproxPrefix : n; }
    int32_t getApproxMatchPrefixLength() const { return m_approxPrefix; }
    void setLXDManager(LXDataManager *dataManager) { m_dataManager = dataManager; }
    LXDataManager *getLXDManager() const { return m_dataManager; }
    void setSearchType(int32_t type) { m_searchType = type; }
    int32_t getSearchType() const { return m_searchType; }
    LXLanguage getSearchLanguage() const { return m_searchLanguage; }
    LXLanguage getTranslationLanguage() const { return m_translationLanguage; }
    LXLanguage getOtherLanguage(LXLanguage language) const;
    uint32_t getProduct() const { return m_product; }
    void setVerbStemStrategy(int32_t s) { m_verbStemStrategy = s; }
    int32_t getVerbStemStrategy() const { return m_verbStemStrategy; }
    void setCaption(int32_t index, const lxstring &text);
    const lxstring &getCaption(int32_t index) const;
    void setRegexOptions(const LXDMRegexOptions &options) { m_regexOptions = options; }
    const LXDMRegexOptions &getRegexOptions() const { return m_regexOptions; }
    int32_t getNRegexMatches() const { return m_nRegexMatches; }
    void getRegexSearchPosition(uint32_t &min, uint32_t &max, uint32_t &position) const;
    int32_t getScrollBarMin() const { return m_scrollMin; }
    int32_t getScrollBarMax() const { return m_scrollMax; }
    int32_t getScrollBarValue() const { return m_scrollValue; }
    int32_t getLineHeight() const { return m_lineHeight; }
    void setLineHeight(int32_t h);

    void setLanguages(LXLanguage search, LXLanguage translation, uint32_t product, bool redraw);

    // Searching.
    void find(const lxstring &text, LXLanguage language);
    bool continueRegexSearch();
    void cancelRegexSearch();
    void closeRegexSearch();
    const lxstring &getSearchString() const { return m_searchString; }

    // Scrolling by an LXLEvent; false for any other type.
    bool handleScrollEvent(int type, uint32_t position);
    void resetScrollBar();
    // The scroll-bar range scaled to at most 16000 steps: (value', max', step).
    static void scaleScrollRange(uint32_t min, uint32_t max, uint32_t value, int32_t &scaledValue,
                                 int32_t &scaledMax, uint32_t &step);

    // Drawing.
    void draw(bool erase);
    void refresh();
    void rebuild();

    // Pointer input, in the renderer's coordinates; false outside the rectangle.
    bool onPenDown(int32_t x, int32_t y);
    bool onPenMove(int32_t x, int32_t y);
    bool onPenUp(int32_t x, int32_t y);
    void selectTopResult();

    // Keyboard navigation over click targets; each answers whether the view scrolled.
    bool goLeft();
    bool goRight();
    bool goUp();
    bool goDown();
    bool goToTop();
    bool goToBottom();
    void browseToSelectedStem();

    // Selection.
    void getSelectedString(lxstring &s) const;
    lxstring getVisibleString() const;
    lxstring getTopVisibleLine() const;
    lxstring getScreenBufferString(const LXListConstIterator<LXLCharInfo> &from) const;
    void getSelectedRect(LXLRectangle &rect) const;
    bool isSelectionInATranslation() const;
    void getSelectedDefinition(LXDMIterator &iterator, int32_t &number) const;
    bool isSelectedDefinitionModifiable() const;
    bool deleteSelectedDefinition();
    void clearSelection();
    bool hasSelectedTerm() const { return m_hasSelectedTerm; }
    int32_t getSelectionStart() const { return m_selStart; }
    int32_t getSelectionEnd() const { return m_selEnd; }

    // The result lists and the screen buffer (for the renderer and tests).
    const LXList<LXDMIterator> &getResultPositions() const { return m_positions; }
    const LXList<lxstring> &getDisplayTexts() const { return m_texts; }
    const LXList<LXLCharInfo> &getScreenBuffer() const { return m_buffer; }
    LXListConstIterator<LXLCharInfo> getTopVisibleChar() const { return m_topVisible; }
    LXListConstIterator<LXLCharInfo> getLastVisibleChar() const { return m_lastVisible; }
    uint32_t getResultCount() const;

    // Layout of display markup into the screen buffer.
    bool addFormattedStringToScreenBuffer(LXListIterator<LXLCharInfo> &at, const lxstring &text, int32_t &x,
                                          int32_t &y, bool selectCells, uint32_t maxLines);
    bool addCharToScreenBuffer(LXListIterator<LXLCharInfo> &at, LXLCharInfo &cell, int32_t x, int32_t y,
                               bool highlight);
    void addTermToScreenBuffer(const LXDMIterator &term, const lxstring &text, LXListIterator<LXLCharInfo> &at,
                               int32_t &x, int32_t &y);
    void appendStringToScreenBuffer(const lxstring &text, int32_t &x, int32_t &y);
    void setString(const lxstring &text);
    void fillScreenBuffer();
    bool scrollScreenBuffer(int32_t pixels);
    void pruneScreenBuffer(bool below);
    void setLastVisibleChar();
    void clearScreenBuffer();
    void drawTerm(LXListIterator<LXLCharInfo> &at, int background);
    void drawBoxes();
    void redrawSelection(int background);
    int32_t highlightSelectedTerm(LXLColor color);
    // Hit test; kind is a HitKind. False, with the selected term cleared, when no result
    // lies under the point.
    bool pointToCharPosition(int32_t x, int32_t y, LXDMIterator &position, int32_t &definition,
                             LXListIterator<LXLCharInfo> &cell, LXListIterator<LXLCharInfo> &resultStart,
                             int32_t &counter, int32_t &kind);

protected:
    // The display text of a position: mode 3 in stem search, 1 otherwise.
    void displayText(const LXDMIterator &position, lxstring &text) const;

private:
    struct Hit;
    void copyFrom(const LXListBox &other);
    bool isSelectedTerm(const LXDMIterator &term) const;
    bool hitTest(int32_t x, int32_t y, Hit &hit) const;
    bool inRect(int32_t x, int32_t y) const;
    void browseFind(const lxstring &text, LXDMIterator &position);
    // The stem search's results; one headword found turns the search into browsing it.
    void showStems(const LXList<LXPair<LXStem, LXDMIterator>> &stems);
    // Without stems: the not-found line and the suggestions; false (nothing added) when
    // the search string is a headword.
    bool showNotFound(LXLanguage language, LXLanguage other);
    void layoutOne(const LXDMIterator &position, const lxstring &text, int32_t &x, int32_t &y);
    void ensureDisplayText(LXListIterator<LXDMIterator> &position, LXListIterator<lxstring> &text);
    bool scrollUp(int32_t target);
    bool scrollDown(int32_t target);
    void fetchPreceding();
    void appendFollowing();
    bool appendResultAfter(LXDMIterator &next, int32_t &x, int32_t &y);
    void redrawCell(const LXLCharInfo &cell, bool selected);
    void drawRun(LXListIterator<LXLCharInfo> first, LXListIterator<LXLCharInfo> last, int background);
    void clickAt(int32_t x, int32_t y);
    void clickCell(const LXLCharInfo &cell, int32_t dx, int32_t dy);
    LXListIterator<LXLCharInfo> selectedCell();
    LXListIterator<LXLCharInfo> resultStartOf(LXListIterator<LXLCharInfo> cell);
    LXListIterator<LXLCharInfo> resultEndOf(LXListIterator<LXLCharInfo> cell);
    int32_t indexInResult(LXListIterator<LXLCharInfo> cell);
    void setSelectionRange(LXListIterator<LXLCharInfo> first, LXListIterator<LXLCharInfo> last);
    bool scrollToCell(const LXLCharInfo &cell);
    bool scrollToAndClick(const LXLCharInfo &cell);
    bool bufferEmpty() const { return m_buffer.begin().isAtEnd(); }

    LXLRectangle m_rect;
    int32_t m_lineHeight;
    uint32_t m_style;
    LXLColor m_color;
    lxstring m_captions[kCaptionCount];
    int32_t m_searchType;
    LXDataManager *m_dataManager;
    LXLanguage m_searchLanguage;
    LXLanguage m_translationLanguage;
    uint32_t m_product;
    uint32_t m_maxLinesPerTerm;
    int32_t m_verbStemStrategy;
    bool m_approximate;
    int32_t m_approxPrefix;
    lxstring m_searchString;
    LXList<lxstring> m_texts;
    LXList<LXDMIterator> m_positions;
    int32_t m_nRegexMatches;
    LXDMRegexOptions m_regexOptions;
    LXDMIterator m_regexIterator;
    bool m_regexCancelled;
    LXList<LXLCharInfo> m_buffer;
    LXListIterator<LXLCharInfo> m_topVisible;
    LXListIterator<LXLCharInfo> m_lastVisible;
    int32_t m_scrollValue;
    int32_t m_scrollMin;
    int32_t m_scrollMax;
    int32_t m_scrollPage;
    LXDMIterator m_selectedTerm;
    bool m_hasSelectedTerm;
    uint32_t m_selectedPosition;
    uint32_t m_selectedOffset;
    int32_t m_selectedDefinition;
    int32_t m_selStart;
    int32_t m_selEnd;
    LXListIterator<LXLCharInfo> m_pressed;
    int32_t m_pressedKind;
    bool m_penDown;
    int32_t m_indentFirst;
    int32_t m_indentContinuation;
    int32_t m_indentTranslation;
    const LXMarkupExpander *m_expander;
};

#endif
