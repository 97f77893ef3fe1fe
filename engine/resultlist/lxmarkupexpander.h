// LXMarkupExpander: turns a merged term into the display markup of the result list.
//
// Module texts and the expander's own output first use an intermediate form in which
// "\M" + a code character opens a code and "\m" + the same character closes it; the
// code table (118 entries, indexed by the code character) maps each code to its opening
// and closing display markup, and a final conversion replaces the codes. The display
// markup itself ("\T" blocks, "\F" fields, "\S"/"\s" style and colour pushes and pops,
// "\D" numbers) is what the result-list layout interprets.
#ifndef WORDMERE_ENGINE_LXMARKUPEXPANDER_H
#define WORDMERE_ENGINE_LXMARKUPEXPANDER_H

#include <cstdint>
#include <string>

#include "base/lxstring.h"
#include "model/lxterm.h"

class LXDMIterator;

class LXMarkupExpander {
public:
    enum { kCodeCount = 118 };
    // getDisplayText flags.
    enum {
        MarkWords = 1,       // words become click targets (every caller sets it)
        HeadwordBlock = 2    // a headword block with an arrow even inside a headword
    };

    LXMarkupExpander();
    ~LXMarkupExpander();
    LXMarkupExpander(const LXMarkupExpander &) = delete;
    LXMarkupExpander &operator=(const LXMarkupExpander &) = delete;

    // One expander with its table for the whole process, made on first use (null when
    // its table cannot be had).
    static const LXMarkupExpander *shared();

    // Builds the code table; false when its memory cannot be had. Once built, true.
    bool init();
    bool isReady() const { return m_codes != nullptr; }

    // Display markup of the iterator's current merged term; empty at the end.
    void getDisplayText(const LXDMIterator &iterator, lxstring &text, uint32_t flags) const;
    // The same for a term, told whether it is the first and the last term of its headword.
    void expandTerm(const LXTerm &term, bool firstOfHeadword, bool lastOfHeadword, uint32_t flags,
                    lxstring &text) const;
    // From the intermediate form to display markup: braces to italics, codes to their markup.
    void convert(const lxstring &intermediate, lxstring &display) const;

    // The code's markup and flag (empty and false outside the table or before init).
    lxstring getOpening(uint32_t code) const;
    lxstring getClosing(uint32_t code) const;
    bool isDisplayCode(uint32_t code) const;

    // Wraps every word of text in "\S" letter ... "\s" letter. A word starts at a word
    // character that is not a digit, "-" or an apostrophe; backslash codes pass whole.
    static void markWords(const lxstring &text, uint32_t letter, lxstring &out);

private:
    struct Code {
        std::u32string opening;
        std::u32string closing;
        bool display;
    };
    friend class LXMarkupWriter;
    void convert(const std::u32string &in, std::u32string &out) const;
    Code *m_codes;
};

#endif
