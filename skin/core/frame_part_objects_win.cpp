// The parts of a skinned frame (Windows).
#ifdef _WIN32
#include "frame_part_objects.h"

#include "frame_nonclient.h"
#include "frame_skinner.h"
#include "skin_classes.h"
#include "skin_draw.h"
#include "skin_repository.h"

namespace {

constexpr int kWindowTextChars = 300;
constexpr UINT kOwnerDrawStatic = 5;  // ODT_STATIC
constexpr UINT kOwnerDrawState = 0x20;
constexpr int32_t kDrawAllItems = -1;

RECT toRect(const SkinRect &r) { return RECT{r.left, r.top, r.right, r.bottom}; }

const SkinRepository *repositoryOf(const SkinObject *definition) { return definition ? definition->owner() : nullptr; }

// The window's small icon, else its class's.
UINT horizontalAlignment(int32_t value)
{
    switch (value) {
    case 1: return DT_CENTER;
    case 2: return DT_RIGHT;
    default: return DT_LEFT;
    }
}

UINT verticalAlignment(int32_t value)
{
    switch (value) {
    case 1: return DT_VCENTER;
    case 2: return DT_BOTTOM;
    default: return DT_TOP;
    }
}

int combineMode(RegionCombine c)
{
    switch (c) {
    case RegionCombine::Intersect: return RGN_AND;
    case RegionCombine::Subtract: return RGN_DIFF;
    case RegionCombine::ExclusiveOr: return RGN_XOR;
    default: return RGN_OR;
    }
}

}  // namespace

HRGN fittedPictureRegion(const SkinResolvedPicture &resolved, int32_t mode, const RECT &target)
{
    HRGN source = static_cast<HRGN>(resolved.region);
    if (source == nullptr || resolved.width <= 0 || resolved.height <= 0) {
        return CreateRectRgnIndirect(&target);
    }
    if (mode == kSkinPictureNatural) {
        HRGN moved = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(moved, source, nullptr, RGN_COPY);
        OffsetRgn(moved, target.left, target.top);
        // Only the part of the picture that fits the target is drawn.
        HRGN clip = CreateRectRgnIndirect(&target);
        CombineRgn(moved, moved, clip, RGN_AND);
        DeleteObject(clip);
        return moved;
    }
    if (mode == kSkinPictureTiled) {
        return skinTiledRegion(source, resolved.width, resolved.height, target);
    }
    const float sx = static_cast<float>(target.right - target.left) / static_cast<float>(resolved.width);
    const float sy = static_cast<float>(target.bottom - target.top) / static_cast<float>(resolved.height);
    HRGN scaled = skinScaledRegion(source, sx, sy, target.left, target.top);
    return scaled ? scaled : CreateRectRgnIndirect(&target);
}

// ---- FramePart

void FramePart::layout(SkinSize window, SkinSize reference)
{
    if (area() == nullptr) return;
    const SkinRect r = skinPlacePart(area()->rect, area()->anchor, window.width, window.height, reference.width,
                                     reference.height);
    rect = toRect(r);
}

int32_t FramePart::partId() const { return area() ? area()->partId : 0; }

bool FramePart::shown() const
{
    HWND w = window();
    if (!visible || w == nullptr || area() == nullptr) return false;
    const auto *framed = dynamic_cast<const FramedSkinner *>(owner);
    const SkinWindowState state{IsIconic(w) != FALSE, IsZoomed(w) != FALSE, framed ? framed->activeLook() : true,
                                IsWindowEnabled(w) != FALSE};
    return skinPartShown(area()->visibility, state);
}

bool FramePart::hits(SkinPoint p) const
{
    return shown() && skinRectContains(SkinRect{rect.left, rect.top, rect.right, rect.bottom}, p);
}

void FramePart::notify(UINT message, SkinPoint p) const
{
    const LPARAM at = MAKELPARAM(p.x - rect.left, p.y - rect.top);
    SendMessageW(window(), message, static_cast<WPARAM>(partId()), at);
}

void FramePart::repaint() const
{
    if (auto *framed = dynamic_cast<FramedSkinner *>(owner)) framed->markFrameDirty();
    if (owner) owner->repaintNonClient(rect);
}

bool FramePart::mouse(UINT message, SkinPoint p)
{
    if (!hits(p)) return false;
    switch (message) {
    case WM_MOUSEMOVE: notify(kPartMouseMove, p); break;
    case WM_LBUTTONDOWN: notify(kPartLButtonDown, p); break;
    case WM_RBUTTONDOWN: notify(kPartRButtonDown, p); break;
    case WM_LBUTTONUP: notify(kPartLButtonUp, p); break;
    case WM_RBUTTONUP: notify(kPartRButtonUp, p); break;
    case WM_LBUTTONDBLCLK: notify(kPartLButtonDblClk, p); break;
    default: break;
    }
    return false;
}

// ---- AreaPart

void AreaPart::paint(HDC dc)
{
    if (!shown()) return;
    const RECT r = rect;
    skinDrawPicture(repositoryOf(definition_), dc, r, area()->picture, area()->bgColor, kSkinNoFill, false);
}

// ---- CaptionButtonPart

SkinObject *CaptionButtonPart::setSkin(SkinObject *definition)
{
    SkinObject *previous = FramePart::setSkin(definition);
    hitPicture_.reset();
    if (const CaptionButtonDefinition *b = button()) {
        model_ = CaptionButtonModel(b->toggle != 0);
        const SkinPicture &shape = b->hover.isSet() ? b->hover : b->pressed.isSet() ? b->pressed : b->picture;
        hitPicture_.resolve(b->owner(), shape);
    }
    return previous;
}

void CaptionButtonPart::setEnabledByStyle(uint32_t style)
{
    if (button()) model_.setEnabled(captionButtonEnabled(button()->kind, style));
    state = model_.enabled() ? 1 : 0;
}

void CaptionButtonPart::paint(HDC dc)
{
    const CaptionButtonDefinition *b = button();
    if (b == nullptr || !shown()) return;
    const RECT r = rect;
    if (b->kind == kCaptionIcon) {
        if (HICON icon = skinWindowSmallIcon(window())) {
            DrawIconEx(dc, r.left, r.top, icon, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
        }
        return;
    }
    const SkinPicture *picture = &b->picture;
    switch (model_.look()) {
    case CaptionButtonModel::Look::Hover: picture = &b->hover; break;
    case CaptionButtonModel::Look::Pressed: picture = &b->pressed; break;
    case CaptionButtonModel::Look::Disabled: picture = &b->disabled; break;
    default: break;
    }
    if (!picture->isSet()) picture = &b->picture;
    const COLORREF key = owner ? owner->keyColor() : kSkinDefaultKeyColor;
    skinDrawKeyedPicture(repositoryOf(b), dc, r, *picture, key);
}

bool CaptionButtonPart::inHitArea(SkinPoint p) const
{
    if (!hits(p) || !model_.enabled()) return false;
    if (owner && owner->usesRegion() && hitPicture_.region != nullptr) {
        return PtInRegion(static_cast<HRGN>(hitPicture_.region), p.x - rect.left, p.y - rect.top) != FALSE;
    }
    return true;
}

int32_t CaptionButtonPart::hitCode(SkinPoint p) const { return inHitArea(p) ? kHitCaption : 0; }

bool CaptionButtonPart::mouse(UINT message, SkinPoint p)
{
    const bool inside = inHitArea(p);
    FramePart::mouse(message, p);
    bool changed = false;
    bool took = inside;
    switch (message) {
    case WM_MOUSEMOVE:
        changed = model_.pointerMove(inside);
        if (inside && timerId != 0) SetTimer(window(), timerId, kCaptionButtonTimerMs, nullptr);
        took = false;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        changed = model_.buttonDown(inside);
        const int32_t kind = button() ? button()->kind : kCaptionCommand;
        const bool systemMenu = kind == kCaptionIcon || kind == kCaptionSystemMenu;
        if (inside && systemMenu && (model_.secondPressAt(GetTickCount()) || message == WM_LBUTTONDBLCLK)) {
            model_.pointerLeft();
            PostMessageW(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
            changed = true;
        }
        if (inside && timerId != 0) SetTimer(window(), timerId, kCaptionButtonTimerMs, nullptr);
        break;
    }
    case WM_LBUTTONUP:
        if (model_.buttonUp(inside, &changed)) runAction();
        break;
    case WM_RBUTTONDOWN:
        if (inside && button() && button()->kind == kCaptionSystemMenu) {
            PostMessageW(window(), WM_SKIN_SHOW_SYSTEM_MENU, 1, 0);
        }
        break;
    default: took = false; break;
    }
    if (changed) repaint();
    return took;
}

void CaptionButtonPart::onTimer()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    if (inHitArea(frameWindowPoint(window(), cursor))) return;
    KillTimer(window(), timerId);
    if (model_.pointerLeft()) repaint();
    SendMessageW(window(), kPartLeft, static_cast<WPARAM>(partId()), 0);
}

void CaptionButtonPart::runAction()
{
    HWND w = window();
    const int32_t kind = button() ? button()->kind : kCaptionCommand;
    switch (captionButtonAction(kind, IsZoomed(w) != FALSE, IsIconic(w) != FALSE)) {
    case CaptionAction::Command: PostMessageW(w, WM_COMMAND, static_cast<WPARAM>(partId()), 0); break;
    case CaptionAction::Close: PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case CaptionAction::SystemMenu: PostMessageW(w, WM_SKIN_SHOW_SYSTEM_MENU, 1, 0); break;
    case CaptionAction::Maximize: PostMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0); break;
    case CaptionAction::Restore: PostMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0); break;
    case CaptionAction::Minimize: PostMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
    }
}

// ---- CaptionTextPart

void CaptionTextPart::layout(SkinSize window, SkinSize reference)
{
    if (text() == nullptr) return;
    rect = toRect(layoutCaptionText(*text(), window, reference));
}

void CaptionTextPart::paint(HDC dc)
{
    const CaptionStaticDefinition *t = text();
    if (t == nullptr || !shown()) return;
    RECT r = rect;
    if (t->kind == CaptionStaticDefinition::kOwnerDrawn) {
        DRAWITEMSTRUCT item{};
        item.CtlType = kOwnerDrawStatic;
        item.CtlID = static_cast<UINT>(t->partId);
        item.itemID = static_cast<UINT>(kDrawAllItems);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = kOwnerDrawState;
        item.hwndItem = window();
        item.hDC = dc;
        item.rcItem = r;
        SendMessageW(window(), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        return;
    }
    skinDrawPicture(repositoryOf(t), dc, r, t->picture, t->bgColor, kSkinNoFill, false);
    std::wstring caption;
    if (t->kind == CaptionStaticDefinition::kWindowText) {
        // A window without the full caption style shows no caption text.
        const auto *framed = dynamic_cast<const FramedSkinner *>(owner);
        if (framed && !drawsCaptionText(framed->realStyle())) return;
        wchar_t buffer[kWindowTextChars + 1] = {};
        const int length = GetWindowTextW(window(), buffer, kWindowTextChars + 1);
        caption.assign(buffer, static_cast<size_t>(length > 0 ? length : 0));
    } else {
        caption = TextConverter(t->text).wide();
    }
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | horizontalAlignment(t->alignH) |
                  verticalAlignment(t->alignV);
    if (GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_RTLREADING) format |= DT_RTLREADING;
    HFONT font = skinFontFromRecord(t->font);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    skinStyledText(dc, t->effect, r, caption.c_str(), static_cast<int>(caption.size()), format);
    if (previous) SelectObject(dc, previous);
    if (font) DeleteObject(font);
}

int32_t CaptionTextPart::hitCode(SkinPoint p) const { return hits(p) ? captionTextHitCode(text()->kind) : 0; }

void CaptionTextPart::combineRegion(HRGN region)
{
    const CaptionStaticDefinition *t = text();
    if (t == nullptr) return;
    const RegionCombine how = regionCombineOf(t->combine);
    if (how == RegionCombine::None) return;
    HRGN own = fittedPictureRegion(t->resolvedPicture, t->picture.mode, rect);
    if (how == RegionCombine::CutThenUnite) {
        HRGN box = CreateRectRgnIndirect(&rect);
        CombineRgn(region, region, box, RGN_DIFF);
        DeleteObject(box);
    }
    CombineRgn(region, region, own, combineMode(how));
    DeleteObject(own);
}

std::unique_ptr<SkinPart> makeFramePart(WindowSkinner *, SkinObject *definition)
{
    switch (definition->type()) {
    case kSkinCaptionButton: return std::make_unique<CaptionButtonPart>();
    case kSkinCaptionStatic: return std::make_unique<CaptionTextPart>();
    case kSkinArea: return std::make_unique<AreaPart>();
    default: return nullptr;
    }
}

#endif
