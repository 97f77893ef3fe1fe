// Character classes and collation tables. Self-contained: compiled on its own into
// the capture library as well as into the engine.
#include "base/lxchar.h"

// Base letters: accented Latin-1/1252 letters map to their ASCII letter; Ø ø Ð ð Þ þ
// ß Ž ž keep themselves.
const unsigned char lx_baseTable[256] = {
       0,    1,    2,    3,    4,    5,    6,    7,    8,    9,   10,   11,   12,   13,   14,   15,  // 0-15
      16,   17,   18,   19,   20,   21,   22,   23,   24,   25,   26,   27,   28,   29,   30,   31,  // 16-31
      32,   33,   34,   35,   36,   37,   38,   39,   40,   41,   42,   43,   44,   45,   46,   47,  // 32-47
      48,   49,   50,   51,   52,   53,   54,   55,   56,   57,   58,   59,   60,   61,   62,   63,  // 48-63
      64,   65,   66,   67,   68,   69,   70,   71,   72,   73,   74,   75,   76,   77,   78,   79,  // 64-79
      80,   81,   82,   83,   84,   85,   86,   87,   88,   89,   90,   91,   92,   93,   94,   95,  // 80-95
      96,   97,   98,   99,  100,  101,  102,  103,  104,  105,  106,  107,  108,  109,  110,  111,  // 96-111
     112,  113,  114,  115,  116,  117,  118,  119,  120,  121,  122,  123,  124,  125,  126,  127,  // 112-127
     128,  129,  130,  131,  132,  133,  134,  135,  136,  137,   83,  139,   79,  141,  142,  143,  // 128-143
     144,  145,  146,  147,  148,  149,  150,  151,  152,  153,  115,  155,  111,  157,  158,   89,  // 144-159
     160,  161,  162,  163,  164,  165,  166,  167,  168,  169,  170,  171,  172,  173,  174,  175,  // 160-175
     176,  177,  178,  179,  180,  181,  182,  183,  184,  185,  186,  187,  188,  189,  190,  191,  // 176-191
      65,   65,   65,   65,   65,   65,   65,   67,   69,   69,   69,   69,   73,   73,   73,   73,  // 192-207
     208,   78,   79,   79,   79,   79,   79,  215,  216,   85,   85,   85,   85,   89,  222,  223,  // 208-223
      97,   97,   97,   97,   97,   97,   97,   99,  101,  101,  101,  101,  105,  105,  105,  105,  // 224-239
     240,  110,  111,  111,  111,  111,  111,  247,  248,  117,  117,  117,  117,  121,  254,  121,  // 240-255
};

// Collation ranks: the position of each code point in the dictionary order. Blanks
// and punctuation first, then the letters (capital before small, unaccented before
// accented), then ^ and the digits (ranks 182-191), then the rest. Entries are signed
// bytes; lx_rank widens them to 32 bits.
const signed char lx_rankTable[256] = {
       0,  -31,  -45,    3,    4,    5,    6,    7,    8,    9,   10,   11,   12,   13,   14,   15,  // 0-15
      16,   17,   18,   19,   20,   21,   22,   23,   24,   25,   26,   27,   28,   29,   30,   31,  // 16-31
      32,   33,   34,   35,   36,   37,   38,   39,   40,   41,   42,   43,   44,   45,   46,   47,  // 32-47
     -74,  -73,  -72,  -71,  -70,  -69,  -68,  -67,  -66,  -65,   48,   49,   50,   51,   52,   53,  // 48-63
      54,   64,   80,   82,   86,   88,   98,  100,  102,  104,  114,  116,  118,  120,  122,  126,  // 64-79
    -114, -112, -110, -108, -103, -101,  -91,  -89,  -87,  -85,  -79,   55,   56,   57,  -75,   58,  // 80-95
      59,   72,   81,   84,   87,   93,   99,  101,  103,  109,  115,  117,  119,  121,  124, -122,  // 96-111
    -113, -111, -109, -106, -102,  -96,  -90,  -88,  -86,  -82,  -77,   60,   61,   62,   63,  -64,  // 112-127
     -63,  -62,  -61,  -60,  -59,  -58,  -57,  -56,  -55,  -54, -107,  -53, -123,  -52,  -78,  -51,  // 128-143
     -50,  -49,  -48,  -47,  -46,    2,  -44,  -43,  -42,  -41, -105,  -40, -115,  -39,  -76,  -83,  // 144-159
     -38,  -37,  -36,  -35,  -34,  -33,  -32,    1,  -30,  -29,  -28,  -27,  -26,  -25,  -24,  -23,  // 160-175
     -22,  -21,  -20,  -19,  -18,  -17,  -16,  -15,  -14,  -13,  -12,  -11,  -10,   -9,   -8,   -7,  // 176-191
      66,   65,   67,   69,   68,   70,   71,   83,   90,   89,   91,   92,  106,  105,  107,  108,  // 192-207
      -6,  123, -128,  127, -127, -125, -126,   -5, -124,  -99, -100,  -98,  -97,  -84,   -4, -104,  // 208-223
      74,   73,   75,   77,   76,   78,   79,   85,   95,   94,   96,   97,  111,  110,  112,  113,  // 224-239
      -3,  125, -120, -121, -119, -117, -118,   -2, -116,  -94,  -95,  -93,  -92,  -81,   -1,  -80,  // 240-255
};

// Language 7 (Norwegian): as above, but Æ æ Ø ø Å å follow ž.
const signed char lx_rankTableNorwegian[256] = {
       0,  -31,  -45,    3,    4,    5,    6,    7,    8,    9,   10,   11,   12,   13,   14,   15,  // 0-15
      16,   17,   18,   19,   20,   21,   22,   23,   24,   25,   26,   27,   28,   29,   30,   31,  // 16-31
      32,   33,   34,   35,   36,   37,   38,   39,   40,   41,   42,   43,   44,   45,   46,   47,  // 32-47
     -74,  -73,  -72,  -71,  -70,  -69,  -68,  -67,  -66,  -65,   48,   49,   50,   51,   52,   53,  // 48-63
      54,   64,   76,   78,   82,   84,   94,   96,   98,  100,  110,  112,  114,  116,  118,  122,  // 64-79
    -120, -118, -116, -114, -109, -107,  -97,  -95,  -93,  -91,  -85,   55,   56,   57,  -75,   58,  // 80-95
      59,   70,   77,   80,   83,   89,   95,   97,   99,  105,  111,  113,  115,  117,  120, -127,  // 96-111
    -119, -117, -115, -112, -108, -102,  -96,  -94,  -92,  -88,  -83,   60,   61,   62,   63,  -64,  // 112-127
     -63,  -62,  -61,  -60,  -59,  -58,  -57,  -56,  -55,  -54, -113,  -53, -128,  -52,  -84,  -51,  // 128-143
     -50,  -49,  -48,  -47,  -46,    2,  -44,  -43,  -42,  -41, -111,  -40, -121,  -39,  -82,  -89,  // 144-159
     -38,  -37,  -36,  -35,  -34,  -33,  -32,    1,  -30,  -29,  -28,  -27,  -26,  -25,  -24,  -23,  // 160-175
     -22,  -21,  -20,  -19,  -18,  -17,  -16,  -15,  -14,  -13,  -12,  -11,  -10,   -9,   -8,   -7,  // 176-191
      66,   65,   67,   69,   68,  -77,  -81,   79,   86,   85,   87,   88,  102,  101,  103,  104,  // 192-207
      -6,  119,  124,  123,  125,  127,  126,   -5,  -79, -105, -106, -104, -103,  -90,   -4, -110,  // 208-223
      72,   71,   73,   75,   74,  -76,  -80,   81,   91,   90,   92,   93,  107,  106,  108,  109,  // 224-239
      -3,  121, -125, -126, -124, -122, -123,   -2,  -78, -100, -101,  -99,  -98,  -87,   -1,  -86,  // 240-255
};

bool lx_isspace(uint32_t c)
{
    return c == 9 || c == 10 || c == 13 || c == 32;
}

bool lx_isdigit(uint32_t c)
{
    return c >= '0' && c <= '9';
}

bool lx_iswordchar(uint32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case 39: case 45: case 140: case 142: case 156: case 158: case 338: case 339:
        return true;
    default:
        break;
    }
    return (c >= 192 && c <= 214) || (c >= 216 && c <= 246) || (c >= 248 && c <= 255);
}

// lx_tolower before its cut to 8 bits.
static uint32_t lowerUnmasked(uint32_t c)
{
    if ((c >= 65 && c <= 90) || (c >= 192 && c <= 222))
        return c + 32;
    if (c == 138 || c == 140)
        return c + 16;
    if (c == 159)
        return 255;
    return c;
}

// The folding shared by lx_isalpha and lx_isvowel: base letter, lower case, 8 bits.
// From 256 on only the low byte is looked at, without case mapping.
static uint32_t foldForClass(uint32_t c)
{
    if (c >= 256)
        return c & 0xFF;
    return lowerUnmasked(lx_baseTable[c]) & 0xFF;
}

bool lx_isalpha(uint32_t c)
{
    uint32_t f = foldForClass(c);
    return f >= 'a' && f <= 'z';
}

bool lx_isvowel(uint32_t c)
{
    switch (foldForClass(c)) {
    case 'a': case 'e': case 'i': case 'o': case 'u': case 'y':
        return true;
    default:
        return false;
    }
}

uint32_t lx_tolower(uint32_t c)
{
    return lowerUnmasked(c) & 0xFF;
}

uint32_t lx_toupper(uint32_t c)
{
    if ((c >= 97 && c <= 122) || (c >= 224 && c <= 254))
        return c - 32;
    if (c == 154 || c == 156)
        return c - 16;
    if (c == 255)
        return 159;
    return c;
}

uint32_t lx_base(uint32_t c)
{
    return c < 256 ? lx_baseTable[c] : c;
}

uint32_t lx_rank(uint32_t c, LXLanguage lang)
{
    if (c >= 256)
        return c;
    const signed char *table = lang == LXNorwegian ? lx_rankTableNorwegian : lx_rankTable;
    return static_cast<uint32_t>(static_cast<int32_t>(table[c]));
}

static const char kPlainVowels[] = "AEIOUYaeiouy";

static uint32_t mapVowel(uint32_t c, const unsigned char *to)
{
    for (int i = 0; kPlainVowels[i]; ++i)
        if (c == static_cast<unsigned char>(kPlainVowels[i]))
            return to[i];
    return c;
}

uint32_t lx_toacute(uint32_t c)
{
    static const unsigned char acute[] = {193, 201, 205, 211, 218, 221,
                                          225, 233, 237, 243, 250, 253};
    return mapVowel(c, acute);
}

uint32_t lx_todiaeresis(uint32_t c)
{
    static const unsigned char diaeresis[] = {196, 203, 207, 214, 220, 159,
                                              228, 235, 239, 246, 252, 255};
    return mapVowel(c, diaeresis);
}

bool lx_splitLigature(uint32_t c, uint32_t &first, uint32_t &second)
{
    switch (c) {
    case 198: first = 'A'; second = 'E'; return true;
    case 223: first = 's'; second = 's'; return true;
    case 230: first = 'a'; second = 'e'; return true;
    case 338: first = 'O'; second = 'E'; return true;
    case 339: first = 'o'; second = 'e'; return true;
    default: first = c; second = 0; return false;
    }
}
