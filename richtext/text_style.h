// The text style in force while rich text is laid out: what the style sheet's declarations
// and the tags change. A default-constructed style holds the values every pass starts from.
#pragma once
#include <windows.h>

#include "drawing_helpers.h"

#include <string>

enum BackgroundMode { kBackgroundTransparent = TRANSPARENT, kBackgroundOpaque = OPAQUE };
enum TextAlign { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
enum VerticalAlign { kVAlignTop = 0, kVAlignMiddle = 1, kVAlignBottom = 2, kVAlignBaseline = 3 };
enum TextTransform { kTransformNone = 0, kTransformUppercase = 1, kTransformLowercase = 2, kTransformCapitalize = 3 };
// What a link does when followed: nothing (not a link), open its target, or send it to the owner.
enum LinkKind { kLinkNone = 0, kLinkHref = 1, kLinkMessage = 2 };

constexpr int kDefaultFontSize = 12;
constexpr int kNormalWeight = 400;
constexpr int kBoldWeight = 700;
constexpr int kDefaultMargin = 2;
constexpr const wchar_t* kDefaultFace = L"Verdana";

struct TextStyle {
    int fontSize = kDefaultFontSize;  // font height in pixels
    int fontWeight = kNormalWeight;   // 100..900
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool overline = false;
    std::wstring fontFace = kDefaultFace;
    COLORREF textColor = kBlackColour;
    COLORREF backgroundColor = kWhiteColour;
    COLORREF borderColorLight = kBlackColour;
    COLORREF borderColorDark = kBlackColour;
    COLORREF gradientMiddleColor = kWhiteColour;
    COLORREF gradientEndColor = kWhiteColour;
    int backgroundMode = kBackgroundTransparent;
    int backgroundEffect = kEffectNone;
    int textAlign = kAlignLeft;
    int verticalAlign = kVAlignBaseline;
    int borderStyle = kBorderNone;
    int borderWidth = 0;
    int textTransform = kTransformNone;
    int marginLeft = kDefaultMargin;
    int marginRight = kDefaultMargin;
    int marginTop = kDefaultMargin;
    int marginBottom = kDefaultMargin;
    int paddingLeft = 0;
    int paddingRight = 0;
    int paddingTop = 0;
    int paddingBottom = 0;
    std::wstring linkTarget;
    // The link the text belongs to: its kind and its number in the pass (-1: none).
    int linkKind = kLinkNone;
    int linkIndex = -1;
};
