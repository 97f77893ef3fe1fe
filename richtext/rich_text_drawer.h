// Measures and draws rich text (a small HTML subset: text styles, fonts, colours,
// alignment, headings, spans, line breaks, tabs, rules, tables, images and hyperlinks)
// styled by a CSS-like style sheet, into a device context.
//
// A measure records per-line and per-table results that the following draw of the same
// text replays; a draw of a text (or with a style sheet, resolution or setting) other than
// the last measured one measures first, so a draw never reads records made for other text.
// The owner asks which link lies under the pointer (linkAt, updateHover), shows the hand
// cursor over it (setCursorForPoint) and draws again to show the hovered link.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "drawing_helpers.h"
#include "layout_records.h"
#include "style_sheet.h"
#include "text_style.h"

class RichTextDrawer {
public:
    RichTextDrawer();
    virtual ~RichTextDrawer();
    RichTextDrawer(const RichTextDrawer&) = delete;
    RichTextDrawer& operator=(const RichTextDrawer&) = delete;

    // The size the text needs: (widest line + 2, total height + 2).
    SIZE measure(HDC dc, const wchar_t* text);
    // Draws into r less one pixel at the right and bottom; (widest line + 1, height + 1).
    SIZE draw(HDC dc, const wchar_t* text, const RECT& r);

    // Style sheet: null loads the default sheet.
    void setCssStyles(const wchar_t* text);
    const std::wstring& cssText() const { return sheet_.cssText(); }
    const StyleSheet& styleSheet() const { return sheet_; }
    void applyRule(HDC dc, std::wstring_view name, TextStyle& style) const { sheet_.applyRule(dc, name, style); }
    void parseDeclarations(HDC dc, std::wstring_view text, TextStyle& style) const {
        sheet_.parseDeclarations(dc, text, style);
    }
    COLORREF colorByName(std::wstring_view name, COLORREF fallback) const { return sheet_.colorByName(name, fallback); }

    // Where "idres" images and string resources come from; the program's own module by default.
    void setResourceModule(HMODULE module) {
        resourceModule_ = module;
        measured_ = false;  // its images may have other sizes
    }
    HMODULE resourceModule() const { return resourceModule_; }
    // The part-th piece (from 0) of a string resource between line feeds; empty when the
    // string or the piece does not exist.
    std::wstring getResourceStringPart(UINT id, int part) const;

    // The image list of "ilst" tags without a bitmap of their own; not owned.
    void setImageList(HIMAGELIST list);
    HIMAGELIST imageList() const { return imageList_; }
    // Tab, line feed and carriage return act as tags when kept, else they are dropped.
    void setKeepControlChars(bool keep) { keepControlChars_ = keep; }
    bool keepControlChars() const { return keepControlChars_; }
    void setShadow(const ShadowSettings& shadow, bool blurred);
    const ShadowSettings& shadow() const { return shadow_; }
    bool shadowBlurred() const { return shadowBlurred_; }

    // Links: the hovered one is drawn with the "a:hover" rule, the others with "a:link".
    int hoveredLink() const { return hoveredLink_; }
    void setHoveredLink(int link) { hoveredLink_ = link; }
    // Where the last draw put each link's text and images.
    const std::vector<LinkArea>& linkAreas() const { return linkAreas_; }
    // The links of the last pass by number: their kind and target.
    const std::vector<LinkInfo>& links() const { return links_; }
    // The link drawn at p, or kNoLink.
    int linkAt(POINT p) const;
    // Makes the link at p the hovered one; true when that changed (the owner draws again).
    bool updateHover(POINT p);
    HCURSOR handCursor() const { return handCursor_; }
    // Shows the hand cursor when p lies on a link; false (and nothing done) elsewhere.
    bool setCursorForPoint(POINT p) const;

private:
    friend class LayoutPass;
    enum class Pass { Measure, Draw };
    SIZE runPass(HDC dc, std::wstring_view text, const RECT& area, Pass pass);
    bool measuredFor(HDC dc, std::wstring_view text) const;
    static HCURSOR loadHandCursor();

    StyleSheet sheet_;
    LayoutRecords records_;
    std::vector<LinkArea> linkAreas_;
    std::vector<LinkInfo> links_;
    int hoveredLink_ = kNoLink;
    HMODULE resourceModule_;
    HIMAGELIST imageList_ = nullptr;
    SIZE imageListSize_{0, 0};
    bool keepControlChars_ = true;
    ShadowSettings shadow_;
    bool shadowBlurred_ = true;
    HCURSOR handCursor_;

    // What the records were measured for.
    bool measured_ = false;
    std::wstring measuredText_;
    unsigned measuredGeneration_ = 0;
    int measuredDpi_ = 0;
    bool measuredKeepControlChars_ = true;
    HIMAGELIST measuredImageList_ = nullptr;
};
