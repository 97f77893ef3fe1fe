#include "rich_text_drawer.h"

#include "layout_pass.h"

namespace {

constexpr int kWinHelpHandCursor = 106;  // the hand in winhlp32.exe, for systems without IDC_HAND

}  // namespace

RichTextDrawer::RichTextDrawer() : resourceModule_(GetModuleHandleW(nullptr)), handCursor_(loadHandCursor()) {
    sheet_.setCssStyles(nullptr);
}

RichTextDrawer::~RichTextDrawer() = default;

HCURSOR RichTextDrawer::loadHandCursor() {
    if (HCURSOR hand = LoadCursorW(nullptr, IDC_HAND)) return hand;
    wchar_t folder[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder) + L"\\winhlp32.exe";
    HMODULE help = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!help) return nullptr;
    HCURSOR copy = nullptr;
    if (HCURSOR hand = LoadCursorW(help, MAKEINTRESOURCEW(kWinHelpHandCursor))) copy = CopyCursor(hand);
    FreeLibrary(help);
    return copy;
}

void RichTextDrawer::setCssStyles(const wchar_t* text) { sheet_.setCssStyles(text); }

void RichTextDrawer::setImageList(HIMAGELIST list) {
    imageList_ = list;
    int cx = 0, cy = 0;
    if (list) ImageList_GetIconSize(list, &cx, &cy);
    imageListSize_ = {cx, cy};
}

void RichTextDrawer::setShadow(const ShadowSettings& shadow, bool blurred) {
    shadow_ = shadow;
    shadowBlurred_ = blurred;
    measured_ = false;  // shadows change the size of images
}

bool RichTextDrawer::measuredFor(HDC dc, std::wstring_view text) const {
    return measured_ && measuredText_ == text && measuredGeneration_ == sheet_.generation() &&
           measuredDpi_ == GetDeviceCaps(dc, LOGPIXELSY) && measuredKeepControlChars_ == keepControlChars_ &&
           measuredImageList_ == imageList_;
}

SIZE RichTextDrawer::runPass(HDC dc, std::wstring_view text, const RECT& area, Pass pass) {
    links_.clear();
    if (pass == Pass::Draw) linkAreas_.clear();
    LayoutPass layout(*this, dc, pass == Pass::Measure ? LayoutPass::Mode::Measure : LayoutPass::Mode::Draw);
    const SIZE size = layout.run(text, area);
    return {size.cx + 1, size.cy + 1};
}

SIZE RichTextDrawer::measure(HDC dc, const wchar_t* text) {
    const std::wstring_view view = text ? std::wstring_view(text) : std::wstring_view();
    records_.clear();
    measured_ = true;
    measuredText_.assign(view);
    measuredGeneration_ = sheet_.generation();
    measuredDpi_ = GetDeviceCaps(dc, LOGPIXELSY);
    measuredKeepControlChars_ = keepControlChars_;
    measuredImageList_ = imageList_;
    const SIZE size = runPass(dc, view, RECT{0, 0, 0, 0}, Pass::Measure);
    return {size.cx + 1, size.cy + 1};
}

SIZE RichTextDrawer::draw(HDC dc, const wchar_t* text, const RECT& r) {
    const std::wstring_view view = text ? std::wstring_view(text) : std::wstring_view();
    if (!measuredFor(dc, view)) measure(dc, text);
    return runPass(dc, view, RECT{r.left, r.top, r.right - 1, r.bottom - 1}, Pass::Draw);
}

std::wstring RichTextDrawer::getResourceStringPart(UINT id, int part) const {
    const wchar_t* resource = nullptr;
    // With no buffer, LoadStringW hands out the read-only resource text and its length.
    const int length = LoadStringW(resourceModule_, id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource || part < 0) return {};
    const std::wstring_view text(resource, length);
    size_t start = 0;
    for (int i = 0; i < part; ++i) {
        const size_t lf = text.find(L'\n', start);
        if (lf == std::wstring_view::npos) return {};
        start = lf + 1;
    }
    const size_t end = text.find(L'\n', start);
    return std::wstring(text.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
}

int RichTextDrawer::linkAt(POINT p) const {
    for (const LinkArea& a : linkAreas_)
        if (PtInRect(&a.rect, p)) return a.link;
    return kNoLink;
}

bool RichTextDrawer::updateHover(POINT p) {
    const int link = linkAt(p);
    if (link == hoveredLink_) return false;
    hoveredLink_ = link;
    return true;
}

bool RichTextDrawer::setCursorForPoint(POINT p) const {
    if (linkAt(p) == kNoLink || !handCursor_) return false;
    SetCursor(handCursor_);
    return true;
}
