#include "layout_pass.h"

#include <algorithm>
#include <cwchar>

#include "css_scanner.h"
#include "rich_text_drawer.h"

using richtext::MarkupTag;
using richtext::MarkupToken;
using richtext::MarkupTokenizer;

namespace {

constexpr int kTabStop = 32;
constexpr int kMaxWeight = 900;
constexpr int kRuleExtraHeight = 8;  // a rule's line is this much taller than the rule
constexpr int kThickOverlineWeight = 700;

// Tags that save the style under a name of their own and apply the style-sheet rule of it.
constexpr const wchar_t* kRuleTags[] = {L"body", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6",
                                        L"code", L"pre",  L"big", L"small", L"sub", L"sup"};

struct NamedValue {
    const wchar_t* tag;
    int value;
};
constexpr NamedValue kAlignTags[] = {{L"left", kAlignLeft}, {L"center", kAlignCenter}, {L"right", kAlignRight}};
constexpr NamedValue kVAlignTags[] = {
    {L"baseline", kVAlignBaseline}, {L"top", kVAlignTop}, {L"middle", kVAlignMiddle}, {L"vcenter", kVAlignMiddle}, {L"bottom", kVAlignBottom}};

template <size_t N>
const NamedValue* findTag(const std::wstring& name, const NamedValue (&table)[N]) {
    for (const NamedValue& v : table)
        if (name == v.tag) return &v;
    return nullptr;
}

bool isRuleTag(const std::wstring& name) {
    for (const wchar_t* t : kRuleTags)
        if (name == t) return true;
    return false;
}

// The name under which an opening tag saves the style, so its closing tag finds it.
std::wstring savedName(const std::wstring& tag) {
    if (tag == L"b") return L"bold";
    if (tag == L"i" || tag == L"em") return L"italic";
    if (tag == L"u") return L"underline";
    if (tag == L"s" || tag == L"strike") return L"strikeout";
    if (tag == L"a") return L"link";
    if (tag == L"font" || tag == L"span") return tag;
    if (isRuleTag(tag) || findTag(tag, kAlignTags) || findTag(tag, kVAlignTags)) return tag;
    return {};
}

void transformText(std::wstring& text, int transform) {
    if (text.empty()) return;
    switch (transform) {
    case kTransformUppercase: CharUpperBuffW(text.data(), static_cast<DWORD>(text.size())); break;
    case kTransformLowercase: CharLowerBuffW(text.data(), static_cast<DWORD>(text.size())); break;
    case kTransformCapitalize:
        CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
        for (size_t i = 0; i < text.size(); ++i)
            if ((i == 0 || text[i - 1] == L' ') && text[i] >= L'a' && text[i] <= L'z') text[i] = text[i] - L'a' + L'A';
        break;
    default: break;
    }
}

LOGFONTW fontOf(const TextStyle& s) {
    LOGFONTW lf{};
    lf.lfHeight = s.fontSize;
    lf.lfWeight = s.fontWeight;
    lf.lfItalic = s.italic;
    lf.lfUnderline = s.underline;
    lf.lfStrikeOut = s.strikeOut;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, s.fontFace.c_str(), LF_FACESIZE - 1);
    return lf;
}

bool sameFont(const LOGFONTW& a, const LOGFONTW& b) {
    return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && wcscmp(a.lfFaceName, b.lfFaceName) == 0;
}

}  // namespace

LayoutPass::LayoutPass(RichTextDrawer& drawer, HDC dc, Mode mode) : drawer_(drawer), dc_(dc), mode_(mode) {
    originalFont_ = GetCurrentObject(dc_, OBJ_FONT);
    originalMode_ = GetBkMode(dc_);
    originalText_ = GetTextColor(dc_);
    originalBack_ = GetBkColor(dc_);
    // Runs are placed by their top-left corner, whatever alignment the caller's DC has.
    originalTextAlign_ = SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    // The body rule is read against the default font, whatever font the caller selected.
    styleChanged();
    drawer_.sheet_.applyRule(dc_, L"body", style_);
    styleChanged();
}

LayoutPass::~LayoutPass() {
    SelectObject(dc_, originalFont_);
    SetBkMode(dc_, originalMode_);
    SetTextColor(dc_, originalText_);
    SetBkColor(dc_, originalBack_);
    SetTextAlign(dc_, originalTextAlign_);
    if (font_) DeleteObject(font_);
}

SIZE LayoutPass::run(std::wstring_view text, const RECT& area) { return layoutBlocks(text, area, true, 0); }

SIZE LayoutPass::layoutBlocks(std::wstring_view text, const RECT& area, bool wrapInBody, int depth) {
    const bool keep = drawer_.keepControlChars_;
    SIZE size{0, 0};
    int y = area.top;
    auto add = [&](SIZE block) {
        size.cx = std::max(size.cx, block.cx);
        y += block.cy;
    };
    size_t p = 0;
    while (p < text.size()) {
        const size_t table = depth < kMaxTableDepth ? richtext::findTable(text, p, keep) : std::wstring_view::npos;
        const size_t flowEnd = table == std::wstring_view::npos ? text.size() : table;
        if (flowEnd > p) {
            const RECT flowArea{area.left, y, area.right, area.bottom};
            if (wrapInBody) {
                const std::wstring wrapped = L"<body>" + std::wstring(text.substr(p, flowEnd - p)) + L"</body>";
                add(layoutFlow(wrapped, flowArea));
            } else {
                add(layoutFlow(text.substr(p, flowEnd - p), flowArea));
            }
        }
        if (table == std::wstring_view::npos) break;
        const richtext::TableSource source = richtext::scanTable(text, table, keep);
        add(layoutTable(text, source, RECT{area.left, y, area.right, area.bottom}, depth + 1));
        p = std::max(source.end, table + 1);
    }
    size.cy = y - area.top;
    return size;
}

SIZE LayoutPass::layoutFlow(std::wstring_view text, const RECT& area) {
    Flow f;
    f.area = area;
    f.penY = area.top;
    f.firstLine = lineIndex_;
    beginLine(f);
    MarkupTokenizer tokens(text, drawer_.keepControlChars_);
    MarkupToken token;
    while (tokens.next(token)) {
        textRun(f, std::move(token.text));
        if (token.hasTag) tag(f, token.tag);
    }
    return finishFlow(f);
}

const LineRecord& LayoutPass::lineRecord(size_t index) const {
    static const LineRecord kNone;
    const std::vector<LineRecord>& lines = drawer_.records_.lines;
    return index < lines.size() ? lines[index] : kNone;
}

void LayoutPass::beginLine(Flow& f) {
    f.line = Line{};
    f.line.top = f.penY;
    f.line.align = style_.textAlign;
    f.line.startX = f.area.left;
    if (!measuring()) {
        f.line.record = lineRecord(lineIndex_);
        const int width = f.line.record.width + MulDiv(f.line.record.share, areaWidth(f), 100);
        if (f.line.record.align == kAlignCenter) f.line.startX = f.area.left + (f.area.right - width - f.area.left) / 2;
        else if (f.line.record.align == kAlignRight) f.line.startX = f.area.right - width;
    }
    f.penX = f.line.startX;
}

void LayoutPass::endLine(Flow& f, int breaks) {
    if (measuring()) {
        Line& l = f.line;
        if (!l.hasContent) l.ascent = metrics_.tmHeight;
        LineRecord r;
        r.width = f.penX - f.area.left;
        r.height = std::max(l.ascent + l.descent, l.minHeight);
        r.descent = l.descent;
        r.share = l.share;
        r.align = l.align;
        drawer_.records_.lines.push_back(r);
        f.line.record = r;
    }
    ++lineIndex_;
    f.penY += f.line.record.height * std::max(1, breaks);
    beginLine(f);
}

// The last line is recorded too, so both passes count lines alike, but it adds height only
// when something stands on it.
SIZE LayoutPass::finishFlow(Flow& f) {
    const bool lastHasContent = f.line.hasContent;
    const int top = f.penY;
    endLine(f, 1);
    if (!lastHasContent) f.penY = top;
    int widest = 0;
    for (size_t i = f.firstLine; i < lineIndex_; ++i) widest = std::max(widest, lineRecord(i).width);
    int width = widest;
    for (size_t i = f.firstLine; i < lineIndex_; ++i)
        width = std::max(width, lineRecord(i).width + MulDiv(lineRecord(i).share, widest, 100));
    return {width, f.penY - f.area.top};
}

int LayoutPass::verticalOffset(const Line& line, int itemHeight, int itemAscent) const {
    const int height = line.record.height;
    switch (style_.verticalAlign) {
    case kVAlignTop: return 0;
    case kVAlignMiddle: return (height - itemHeight) / 2;
    case kVAlignBottom: return height - itemAscent;
    default: return height - itemAscent - line.record.descent;
    }
}

void LayoutPass::recordLink(const RECT& r) {
    if (!measuring() && style_.linkIndex >= 0) drawer_.linkAreas_.push_back({r, style_.linkIndex});
}

void LayoutPass::textRun(Flow& f, std::wstring text) {
    transformText(text, style_.textTransform);
    if (text.empty()) return;
    const int length = static_cast<int>(std::min<size_t>(text.size(), INT32_MAX));
    SIZE extent{0, 0};
    GetTextExtentPoint32W(dc_, text.c_str(), length, &extent);
    Line& l = f.line;
    l.hasContent = true;
    if (measuring()) {
        l.ascent = std::max<int>(l.ascent, metrics_.tmAscent);
        l.descent = std::max<int>(l.descent, extent.cy - metrics_.tmAscent);
        l.align = style_.textAlign;
    } else {
        const int y = l.top + verticalOffset(l, extent.cy, metrics_.tmAscent);
        TextOutW(dc_, f.penX, y, text.c_str(), length);
        recordLink({f.penX, y, f.penX + extent.cx, y + extent.cy});
        if (style_.overline) {
            const int thickness = style_.fontWeight >= kThickOverlineWeight ? 2 : 1;
            DrawingHelpers::backgroundFill(dc_, kEffectSolid, {f.penX, y, f.penX + extent.cx, y + thickness},
                                           style_.textColor, style_.textColor, style_.textColor);
        }
    }
    f.penX += extent.cx;
}

void LayoutPass::tag(Flow& f, const std::wstring& raw) {
    if (raw.size() == 1 && raw[0] == richtext::kTabTag) return tab(f, 1);
    if (raw.size() == 1 && raw[0] == richtext::kLineFeedTag) return endLine(f, 1);
    if (raw.size() == 1 && raw[0] == richtext::kCarriageReturnTag) return;
    const MarkupTag t = richtext::parseTag(raw);
    if (t.closing) closeTag(t);
    else openTag(f, t);
}

int LayoutPass::repeatCount(const MarkupTag& t) {
    if (!t.hasOwnValue) return 1;
    return std::clamp(StyleSheet::lengthValue(dc_, t.ownValue, 1), 1, kMaxRepeat);
}

void LayoutPass::openTag(Flow& f, const MarkupTag& t) {
    const std::wstring& name = t.name;
    if (name == L"br") return endLine(f, repeatCount(t));
    if (name == L"t") return tab(f, repeatCount(t));
    if (name == L"hr") return rule(f, t);
    if (name == L"bmp" || name == L"icon" || name == L"ilst") return imageTag(f, t);
    if (name == L"a") return link(t);
    if (name == L"font") return fontTag(t);
    const std::wstring saveAs = savedName(name);
    if (saveAs.empty() || !save(saveAs)) return;  // an unknown tag, or styles nested too deep
    if (name == L"b") {
        style_.fontWeight = std::min(kMaxWeight, style_.fontWeight * 2);
    } else if (name == L"i" || name == L"em") {
        style_.italic = !style_.italic;
    } else if (name == L"u") {
        style_.underline = !style_.underline;
    } else if (name == L"s" || name == L"strike") {
        style_.strikeOut = !style_.strikeOut;
    } else if (const NamedValue* a = findTag(name, kAlignTags)) {
        style_.textAlign = a->value;
    } else if (const NamedValue* v = findTag(name, kVAlignTags)) {
        style_.verticalAlign = v->value;
    } else if (name == L"span") {
        const std::wstring* cls = t.attribute(L"class");
        drawer_.sheet_.applyRule(dc_, L"." + (cls ? *cls : std::wstring()), style_);
    } else {
        drawer_.sheet_.applyRule(dc_, name, style_);
    }
    styleChanged();
}

void LayoutPass::closeTag(const MarkupTag& t) {
    const std::wstring name = savedName(t.name);
    if (!name.empty()) restore(name);
}

// Stops count from the line's start, which is the block's left edge in the measuring pass;
// an aligned line keeps its stops relative to where it starts, so it keeps its measured width.
void LayoutPass::tab(Flow& f, int count) {
    const int offset = f.penX - f.line.startX;
    f.penX = f.line.startX + (offset / kTabStop + count) * kTabStop;
    f.line.hasContent = true;
}

void LayoutPass::rule(Flow& f, const MarkupTag& t) {
    TextStyle ruleStyle = style_;
    drawer_.sheet_.applyRule(dc_, L"hr", ruleStyle);
    const std::wstring* widthValue = t.attribute(L"width");
    const std::wstring width = widthValue ? *widthValue : L"100%";
    const bool share = !width.empty() && width.back() == L'%';
    const int percent = share ? std::clamp(richtext::readDecimal(width), 0, kMaxShare) : 0;
    const int pixels = share ? 0 : StyleSheet::lengthValue(dc_, width, 0);
    const std::wstring* size = t.attribute(L"size");
    const int thickness = size ? StyleSheet::lengthValue(dc_, *size, 1) : 1;
    if (const std::wstring* colour = t.attribute(L"color"))
        ruleStyle.textColor = drawer_.sheet_.colourValue(*colour, ruleStyle.textColor);
    Line& l = f.line;
    l.hasContent = true;
    if (measuring()) {
        l.minHeight = std::max(l.minHeight, thickness + kRuleExtraHeight);
        l.share = std::min(kMaxShare, l.share + percent);
        f.penX += pixels;
        return;
    }
    const int length = share ? MulDiv(areaWidth(f), percent, 100) : pixels;
    const int y = l.top + l.record.height / 2;
    if (thickness > 0 && length > 0)
        DrawingHelpers::ruleLine(dc_, f.penX, y, f.penX + length, y, ruleStyle.textColor, ruleStyle.borderStyle, thickness);
    f.penX += length;
}

void LayoutPass::link(const MarkupTag& t) {
    if (!save(L"link")) return;
    style_.linkKind = kLinkMessage;
    style_.linkTarget.clear();
    if (const std::wstring* href = t.attribute(L"href")) {
        style_.linkKind = kLinkHref;
        style_.linkTarget = *href;
    }
    if (const std::wstring* msg = t.attribute(L"msg")) {
        style_.linkKind = kLinkMessage;
        style_.linkTarget = *msg;
    }
    style_.linkIndex = ++linkCounter_;
    drawer_.links_.push_back({style_.linkKind, style_.linkTarget});
    drawer_.sheet_.applyRule(dc_, linkCounter_ == drawer_.hoveredLink_ ? L"a:hover" : L"a:link", style_);
    styleChanged();
}

void LayoutPass::fontTag(const MarkupTag& t) {
    if (!save(L"font")) return;
    const StyleSheet& sheet = drawer_.sheet_;
    if (const std::wstring* face = t.attribute(L"face"))
        if (!face->empty()) style_.fontFace = *face;
    if (const std::wstring* size = t.attribute(L"size")) style_.fontSize = StyleSheet::fontSizeValue(dc_, *size, style_.fontSize);
    if (const std::wstring* colour = t.attribute(L"color")) style_.textColor = sheet.colourValue(*colour, style_.textColor);
    if (const std::wstring* letters = t.attribute(L"style")) {
        bool on = true;
        for (wchar_t c : richtext::asciiLower(*letters)) {
            switch (c) {
            case L'-': on = false; continue;
            case L'+': on = true; continue;
            case L'b': style_.fontWeight = on ? kBoldWeight : kNormalWeight; break;
            case L'i': style_.italic = on; break;
            case L'o': style_.overline = on; break;
            case L's': style_.strikeOut = on; break;
            case L'u': style_.underline = on; break;
            default: break;
            }
            on = true;  // a sign holds for the one letter after it
        }
    }
    if (const std::wstring* weight = t.attribute(L"weight")) style_.fontWeight = StyleSheet::fontWeightValue(richtext::asciiLower(*weight));
    if (const std::wstring* back = t.attribute(L"bkgnd")) {
        if (richtext::asciiLower(*back) == L"transparent") {
            style_.backgroundMode = kBackgroundTransparent;
        } else {
            style_.backgroundMode = kBackgroundOpaque;
            style_.backgroundColor = sheet.colourValue(*back, style_.backgroundColor);
        }
    }
    styleChanged();
}

bool LayoutPass::save(const std::wstring& tag) {
    if (stack_.size() >= kMaxStyleDepth) return false;
    stack_.push_back({tag, style_});
    return true;
}

// A closing tag restores only when the innermost saved style is its own; otherwise it is ignored.
void LayoutPass::restore(const std::wstring& tag) {
    if (stack_.empty() || stack_.back().tag != tag) return;
    style_ = std::move(stack_.back().style);
    stack_.pop_back();
    styleChanged();
}

void LayoutPass::styleChanged() {
    const LOGFONTW spec = fontOf(style_);
    if (!font_ || !sameFont(spec, fontSpec_)) {
        HFONT font = CreateFontIndirectW(&spec);
        if (font) {
            SelectObject(dc_, font);
            if (font_) DeleteObject(font_);
            font_ = font;
            fontSpec_ = spec;
        }
    }
    SetBkMode(dc_, style_.backgroundMode);
    SetTextColor(dc_, style_.textColor);
    SetBkColor(dc_, style_.backgroundColor);
    GetTextMetricsW(dc_, &metrics_);
}
