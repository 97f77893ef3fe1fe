"""The record layouts of skin objects, field by field in file order (skin/FORMAT.md).

Each class is a list of fields; a field is a tuple (kind, name, ...). Kinds:
  i32, u32, u8, i8   integers            color   a COLORREF (0x00BBGGRR)
  rgb                three bytes r, g, b text    fixed text of `size` bytes
  rect               four signed values  picture, ninegrid, effect, font: the building blocks
  group              a named block of fields (a look)
  colors             a group of `count` colours named 0, 1, ...
  children           the child count and children of the base record
  embedded           a whole record of another class (a frame's menu bar)
  bytes              image data (its length is the field before it)
  sized              a 32-bit length and that many bytes of text
  properties         the property list of a property set
  pad                reserved bytes, always 0, never described
"""

# The classic Windows system colours (0x00BBGGRR by index), the defaults of the fields that
# default to a system colour.
CLASSIC = [
    0x00C8D0D4, 0x00A56E3A, 0x006A240A, 0x00808080, 0x00C8D0D4, 0x00FFFFFF, 0x00000000, 0x00000000,
    0x00000000, 0x00FFFFFF, 0x00C8D0D4, 0x00C8D0D4, 0x00808080, 0x006A240A, 0x00FFFFFF, 0x00C8D0D4,
    0x00808080, 0x00808080, 0x00000000, 0x00C8D0D4, 0x00FFFFFF, 0x00404040, 0x00C8D0D4, 0x00000000,
    0x00E1FFFF, 0x00B5B5B5, 0x00C80000, 0x00F0CAA6, 0x00C0C0C0, 0x006A240A, 0x00C8D0D4,
]
WINDOW, WINDOWTEXT, HIGHLIGHT, HIGHLIGHTTEXT, BTNFACE, BTNSHADOW, GRAYTEXT, BTNTEXT, INFOBK = (
    5, 8, 13, 14, 15, 16, 17, 18, 24)


def sys(index):
    return CLASSIC[index]


NAME_BYTES, SHORT_TEXT, LABEL_BYTES, FACE_BYTES = 51, 50, 31, 32
ZERO_RECT = (0, 0, 0, 0)

TYPE_CODES = {
    "FrameWnd": 1, "ShapeWnd": 2, "CaptionButton": 3, "Button": 4, "CheckBox": 5, "ComboBox": 6, "Edit": 7,
    "GroupBox": 8, "ListBox": 9, "ProgressBar": 10, "Radio": 11, "ScrollBar": 12, "Slider": 13, "Static": 14,
    "StatusBar": 15, "Tab": 16, "PopupMenu": 17, "Image": 18, "Voice": 19, "MenuBar": 20, "Area": 22,
    "ToolBar": 23, "ControlBar": 24, "Application": 25, "ScrollControl": 26, "Spin": 27, "ListView": 28,
    "TreeView": 29, "RichEdit": 30, "DateTime": 31, "ComboBoxEx": 33, "MonthCalendar": 35, "Rebar": 36,
    "Header": 37, "CaptionStatic": 38, "ImageList": 39, "Animate": 40, "Tooltip": 42, "SysColorTable": 44,
    "Frame": 45, "PropertySet": 100,
}
KEYWORDS = {code: word for word, code in TYPE_CODES.items()}
# The names of type codes 0..44 (look-up by type tries an object of that name first).
TYPE_NAMES = {word: code for word, code in TYPE_CODES.items() if code < 45}


def default_effect():
    return {"shadowX": 0, "shadowY": 0, "color": sys(BTNTEXT), "colorByte": 255,
            "shadowColor": sys(BTNSHADOW), "flags": 0x8004}


def font(face="MS Sans Serif", height=-12, weight=400, out=0, clip=0, quality=0):
    return {"height": height, "width": 0, "escapement": 0, "orientation": 0, "weight": weight, "italic": 0,
            "underline": 0, "strikeOut": 0, "charSet": 0, "outPrecision": out, "clipPrecision": clip,
            "quality": quality, "pitchAndFamily": 0, "face": face, "hasFont": 0}


TEXT_STYLE_FONT = font("MS Sans Serif", -12, 400, 3, 2, 1)
ARIAL_FONT = font("Arial", -12, 400)


def base(rect=(0, 0, 60, 30), bg=None, text=None, third=0x000000FF):
    return [
        ("color", "bgColor", sys(BTNFACE) if bg is None else bg),
        ("color", "textColor", sys(WINDOWTEXT) if text is None else text),
        ("color", "thirdColor", third),
        ("text", "secondText", NAME_BYTES, ""),
        ("i32", "value", 0),
        ("rect", "rect", rect),
        ("i32", "id", 0),
        ("children",),
    ]


def text_style(**base_args):
    return base(**base_args) + [
        ("font", "font", TEXT_STYLE_FONT),
        ("ninegrid", "frame"),
        ("i32", "style", 0),
        ("i32", "hasPosition", 0),
        ("i32", "unused", 0),
        ("effect", "textEffect"),
        ("i32", "hasTextEffect", 0),
    ]


def look(name):
    return ("group", name, [("ninegrid", "image"), ("effect", "text"), ("rect", "margins", ZERO_RECT)])


def check_look(name):
    return ("group", name, [("ninegrid", "background"), ("ninegrid", "tick"), ("effect", "text")])


def spin_pair(name):
    return ("group", name, [("picture", "first"), ("picture", "second")])


def bar_group(name):
    return ("group", name, [("picture", "firstArrow"), ("picture", "lastArrow"), ("picture", "track"),
                            ("rect", "thumbMargins", ZERO_RECT), ("ninegrid", "thumb")])


def grids(*names):
    return [("ninegrid", n) for n in names]


def pictures(*names):
    return [("picture", n) for n in names]


PIECES = ["TopLeft", "Top", "TopRight", "Left", "Centre", "Right", "BottomLeft", "Bottom", "BottomRight"]


def lay_pieces(width, height, top_left, top_right_left, border, top, bottom):
    inner = height - bottom
    return [(0, 0, top_left, top), (top_left, 0, top_right_left, top), (top_right_left, 0, width, top),
            (0, top, border, inner), (border, top, width - border, inner), (width - border, top, width, inner),
            (0, inner, border, height), (border, inner, width - border, height),
            (width - border, inner, width, height)]


def bordered(pieces=None, fills=(0x00FF0000, 0x00727200, 0x00FFFFFF)):
    pieces = pieces or lay_pieces(276, 160, 86, 173, 10, 30, 12)
    return (base()
            + [("picture", "active" + p) for p in PIECES] + [("picture", "inactive" + p) for p in PIECES]
            + [("rect", "piece" + p, r) for p, r in zip(PIECES, pieces)]
            + [("font", "font", ARIAL_FONT), ("color", "captionColor", 0), ("i32", "unused", 0),
               ("color", "activeFill", fills[0]), ("color", "inactiveFill", fills[1]),
               ("color", "backgroundFill", fills[2]), ("effect", "effect"),
               ("ninegrid", "iconicActive"), ("ninegrid", "iconicInactive")])


def area(rect=(1, 1, 21, 21)):
    return base(rect=rect) + [("picture", "picture"), ("i32", "anchor", 0), ("i32", "partId", 1000),
                              ("i32", "visibility", 0), ("text", "tooltip", NAME_BYTES, "")]


MENU_BAR = area() + [
    ("font", "font", ARIAL_FONT), ("effect", "normalText"), ("effect", "disabledText"), ("effect", "hotText"),
    ("color", "hotFill", 0), ("ninegrid", "hotItem"), ("effect", "openText"), ("color", "openFill", 0),
    ("ninegrid", "openItem"),
] + pictures(*[b + s for b in ("minimize", "restore", "close", "system") for s in ("Normal", "Hot", "Pressed")]) + [
    ("ninegrid", "background"),
]

SCROLL_CONTROL = text_style(bg=sys(WINDOW), text=sys(WINDOWTEXT), third=sys(BTNFACE)) + [("picture", "unusedPicture")]

LAYOUTS = {
    1: bordered() + [("i32", "menuBarType", 20), ("embedded", "menuBar", 20), ("i32", "paintBackground", 0),
                     ("picture", "mdiClient")],
    2: base() + [("picture", "picture"), ("rect", "rect1", ZERO_RECT), ("rect", "rect2", ZERO_RECT),
                 ("u8", "opacity", 255), ("color", "shapeColor", 0x00FFFFFF), ("i32", "shapeFlag", 1)],
    3: area() + pictures("hover", "pressed", "disabled") + [("i32", "kind", 0), ("i32", "toggle", 0)],
    4: text_style() + [look(n) for n in ("normal", "pressed", "default", "focused", "hover", "disabled")]
       + [("text", "unusedText", SHORT_TEXT, ""), ("i32", "unused1", 0), ("i32", "unused2", 0)],
    5: text_style() + [check_look(n) for n in ("normal", "checked", "disabledBase", "disabledUnchecked",
                                               "disabledChecked", "hotUnchecked", "hotChecked")]
       + [("text", "pushLikeName", SHORT_TEXT, ""), ("i32", "transparent", 0),
          ("text", "unusedText", SHORT_TEXT, "")],
    6: text_style() + grids("buttonNormal", "buttonHot", "buttonPressed", "buttonDisabled")
       + [("color", "disabledBgColor", sys(BTNFACE)), ("color", "disabledTextColor", sys(GRAYTEXT)),
          ("color", "focusedBgColor", sys(HIGHLIGHT)), ("color", "focusedTextColor", sys(HIGHLIGHTTEXT))],
    7: SCROLL_CONTROL,
    8: text_style() + [("ninegrid", "captionImage"), ("color", "captionColor", sys(BTNFACE)),
                       ("rect", "captionMargins", ZERO_RECT), ("i32", "captionTransparent", 0)],
    10: text_style() + [("ninegrid", "bar"), ("color", "barColor", sys(HIGHLIGHT)), ("i32", "drawMode", 0),
                        ("i32", "unused", 0)],
    12: text_style() + [bar_group("horizontal" + s) for s in ("Normal", "Pressed", "Hot", "Disabled")]
        + [("picture", "sizeBox"), ("i32", "previewMin", 0), ("i32", "previewMax", 100),
           ("i32", "previewPage", 10), ("i32", "previewLine", 1), ("i32", "previewPos", 10)]
        + [bar_group("vertical" + s) for s in ("Normal", "Pressed", "Hot", "Disabled")],
    13: text_style() + [("ninegrid", "channel"), ("i32", "transparent", 0)]
        + [("i32", "unused%d" % i, 0) for i in range(1, 5)]
        + [("ninegrid", "thumb"), ("i32", "unused5", 0), ("ninegrid", "unusedGrid")],
    14: text_style() + [("i32", "transparent", 0), ("effect", "enabledText"),
                        ("text", "unusedText", NAME_BYTES, ""), ("effect", "disabledText")],
    15: text_style() + [("ninegrid", "panel"), ("picture", "unusedPicture")],
    16: text_style() + [look(n) for n in ("normal", "highlighted", "selected", "disabled")]
        + [("ninegrid", "page"), ("i32", "transparent", 0)],
    17: bordered() + [("effect", "normalText"), ("effect", "hotText"), ("effect", "disabledText"),
                      ("color", "hotFill", 0), ("i32", "unused", 0), ("ninegrid", "highlight"),
                      ("ninegrid", "separator"), ("picture", "check"), ("picture", "arrow")],
    18: base() + [("u32", "dataLength", 0), ("i32", "format", 1), ("bytes", "data")],
    19: base(),
    20: MENU_BAR,
    22: area(),
    23: text_style() + grids("normal", "hot", "pressed", "disabled", "unusedGrid"),
    24: text_style(),
    25: base(third=0x00FF00FF) + [("text", "toolName", NAME_BYTES, "Glossvane Builder"),
                                  ("text", "fileDescription", NAME_BYTES, "Glossvane Skin File"),
                                  ("text", "author", NAME_BYTES, ""), ("i32", "regions", 1),
                                  ("text", "contact", NAME_BYTES, ""), ("text", "web", NAME_BYTES, "")],
    27: text_style() + [spin_pair(n) for n in ("normal", "hot", "pressed", "disabled")]
        + [spin_pair("horizontal" + s) for s in ("Normal", "Hot", "Pressed", "Disabled")],
    29: SCROLL_CONTROL + grids("unusedGrid1", "unusedGrid2")
        + [("color", "lineColor", 0x00808080), ("i32", "unused1", 0), ("rect", "unusedBlock1", ZERO_RECT),
           ("rect", "unusedBlock2", ZERO_RECT)]
        + pictures("unusedPicture1", "unusedPicture2", "unusedPicture3", "unusedPicture4") + [("i32", "unused2", 0)],
    31: text_style() + grids("buttonNormal", "buttonPressed", "buttonDisabled")
        + [("picture", "field"), ("effect", "fieldText"), ("picture", "disabledField"),
           ("effect", "disabledFieldText"), ("color", "disabledBgColor", sys(BTNFACE))],
    35: text_style() + grids("previousNormal", "previousPressed", "previousDisabled", "nextNormal", "nextPressed",
                             "nextDisabled")
        + [("color", "monthBgColor", sys(WINDOW)), ("color", "titleBgColor", sys(HIGHLIGHT)),
           ("color", "titleTextColor", sys(HIGHLIGHTTEXT)), ("color", "trailingTextColor", sys(GRAYTEXT))],
    36: text_style() + [("ninegrid", "band"), ("rect", "unusedBlock", ZERO_RECT)],
    37: text_style() + [("rect", "textMargins", ZERO_RECT), ("ninegrid", "item")],
    38: area() + [("i32", "kind", 0), ("i32", "anchorLeft", 0), ("i32", "anchorTop", 0),
                  ("i32", "anchorRight", 0), ("i32", "anchorBottom", 0), ("i32", "anchorUnused", 0),
                  ("i32", "combine", 2), ("font", "font", TEXT_STYLE_FONT), ("effect", "effect"),
                  ("text", "text", NAME_BYTES, ""), ("i32", "alignH", 0), ("i32", "alignV", 1)],
    39: base() + [("i32", "imageWidth", 0), ("i32", "imageHeight", 0), ("i32", "imageCount", 0),
                  ("i32", "unused", 0), ("picture", "picture")],
    40: text_style() + [("picture", "background")],
    42: bordered(lay_pieces(278, 152, 1, 277, 1, 1, 1), (0, 0, sys(INFOBK)))
        + [("i32", "showDelay", 1000), ("i32", "hideDelay", 8000), ("i32", "placement", 0), ("sized", "styleSheet")],
    44: base() + [("colors", "colors", 100)],
    45: bordered(),
    100: text_style() + [("text", "category", NAME_BYTES, ""), ("properties",)],
}
for same, code in ((9, 7), (26, 7), (28, 7), (30, 7), (11, 5), (33, 6)):
    LAYOUTS[same] = LAYOUTS[code]
# A ScrollControl's colours default to the window's, whatever code it stands for.

# Where each code may stand.
TOP_ONLY = {1, 2}
CHILD_ONLY = {3, 22}
NOT_AN_OBJECT = {18, 19, 20}
