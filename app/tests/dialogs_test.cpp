// The dialogs' rules and windows: the web search address, the verb taken from a selected
// result, the digit box, the add-entry dialog's labels, and the conjugation dialog over the
// French sample modules (its suggestion list and keys, the table of a verb, an unknown verb,
// Latin's verb-model page, closing that only hides).
#include "addentriesdialog.h"
#include "conjugationdialog.h"
#include "dialogsupport.h"
#include "lxview.h"
#include "numbersdialog.h"
#include "settings.h"
#include "test_app.h"
#include "webexamplesdialog.h"
#include "search/lxdatamanager.h"
#include "testing/lxtest_samples.h"
#include "lxconjugationadapter.h"
#include "lxc_fixture.h"
#include "format/lxdwriter.h"
#include "model/lxtokenizer.h"
#include "testing/lxtest_terms.h"
#include "themeapi.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

const wchar_t kPattern[] =
    L"https://s.example/search?hl=<ILANG>&ie=ISO-8859-1&as_epq=<SEARCHSTRING>&as_oq=<CONTEXT>&lr=lang_<SLANG>";

TEST(WebAddress, EncodesTextsAndLanguages) {
    struct {
        const wchar_t* expression;
        const wchar_t* context;
        int interfaceLanguage, language;
        const wchar_t* address;
    } cases[] = {
        // The example of the manual: ISO-8859-1 bytes, "%" itself escaped, blanks as "+".
        {L"l'\u00E9t\u00E9 100%", L"", 1, 2,
         L"https://s.example/search?hl=en&ie=ISO-8859-1&as_epq=l'%E9t%E9+100%25&as_oq=&lr=lang_fr"},
        // Characters that would add or cut parameters are escaped.
        {L"a&b=c#d?e+f", L"x&as_eq=y", 2, 4,
         L"https://s.example/search?hl=fr&ie=ISO-8859-1&as_epq=a%26b%3Dc%23d%3Fe%2Bf&as_oq=x%26as_eq%3Dy&lr=lang_de"},
        // Beyond ISO-8859-1: both texts as UTF-8, and the address says so.
        {L"c\u0153ur & \u00E2me", L"\u00E9t\u00E9", 4, 2,
         L"https://s.example/search?hl=de&ie=UTF-8&as_epq=c%C5%93ur+%26+%C3%A2me&as_oq=%C3%A9t%C3%A9&lr=lang_fr"},
        // A character outside the basic plane, whole; a lone surrogate as U+FFFD.
        {L"\U0001D11E\xD800", L"", 1, 1,
         L"https://s.example/search?hl=en&ie=UTF-8&as_epq=%F0%9D%84%9E%EF%BF%BD&as_oq=&lr=lang_en"},
        // Languages without a code of the engine's give English; placeholders typed stay text.
        {L"<SLANG>", L"", 8, 10, L"https://s.example/search?hl=en&ie=ISO-8859-1&as_epq=%3CSLANG%3E&as_oq=&lr=lang_en"},
        {L"\t\r\n", L"", 11, 7, L"https://s.example/search?hl=nl&ie=ISO-8859-1&as_epq=%09%0D%0A&as_oq=&lr=lang_no"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(webSearchAddress(kPattern, c.interfaceLanguage, c.language, c.expression, c.context), c.address)
            << c.address;
    EXPECT_STREQ(webLanguageCode(0), L"en");
    EXPECT_STREQ(webLanguageCode(255), L"en");
    EXPECT_STREQ(webLanguageCode(6), L"pt");
}

TEST(WebAddress, TheProgramsTemplateHoldsEveryPlaceholder) {
    testApp();
    std::wstring address = webSearchAddress(loadRawString(9007), 1, 2, L"l'\u00E9t\u00E9 100%", L"");
    EXPECT_NE(address.find(L"hl=en&"), std::wstring::npos) << address;
    EXPECT_NE(address.find(L"as_epq=l'%E9t%E9+100%25&"), std::wstring::npos) << address;
    EXPECT_NE(address.find(L"lr=lang_fr"), std::wstring::npos) << address;
    EXPECT_EQ(address.find(L'<'), std::wstring::npos) << address;
}

TEST(ViewRules, VerbOfASelectedResult) {
    struct {
        const wchar_t* selected;
        const wchar_t* verb;
    } cases[] = {
        {L"parler", L"parler"},
        {L"\u2192parler", L"parler"},
        {L"  manger (v)\nto eat", L"manger"},
        {L"aller, vais", L"aller"},
        {L"faire\tto do", L"faire"},
        {L"", L""},
        {L"   ", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(bareHeadword(c.selected), c.verb) << c.selected;
}

// A dialog-like parent with one digit box.
TEST(DigitEdit, TakesDigitsAndBackspaceOnly) {
    testApp();
    FwWindow parent;
    ASSERT_TRUE(createTopLevel(parent, L"WordmereDigitTest", 300, 100));
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 20, parent.hwnd(), nullptr,
                                nullptr, nullptr);
    CDigitEdit digits;
    ASSERT_TRUE(digits.subclass(edit));
    for (wchar_t c : std::wstring(L"12a3 -,.")) SendMessageW(edit, WM_CHAR, c, 0);
    EXPECT_EQ(fwWindowText(edit), L"123");
    SendMessageW(edit, WM_CHAR, 8, 0);  // Backspace
    EXPECT_EQ(fwWindowText(edit), L"12");

    // Ctrl+V pastes what the clipboard holds, as it is.
    SetWindowTextW(edit, L"");
    ASSERT_TRUE(OpenClipboard(parent.hwnd()));
    EmptyClipboard();
    const wchar_t text[] = L"1,234";
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    memcpy(GlobalLock(g), text, sizeof text);
    GlobalUnlock(g);
    SetClipboardData(CF_UNICODETEXT, g);
    CloseClipboard();
    SendMessageW(edit, WM_CHAR, 22, 0);
    EXPECT_EQ(fwWindowText(edit), L"1,234");
    digits.detach();
    parent.destroy();
}

// A thesaurus (second language 255) or a monolingual dictionary takes a keyword and its
// definition with one part-of-speech list; a bilingual pair names its two languages, the
// lower code first, each with a list.
TEST(AddEntriesDialog, LabelsAndListsFollowThePair) {
    testApp();
    const struct {
        int language1, language2;
        const wchar_t *first, *second;
        bool secondList;
    } cases[] = {
        {LXEnglish, LXSynonyms, L"Keyword", L"Definition", false},
        {LXSynonyms, LXEnglish, L"Keyword", L"Definition", false},
        {LXFrench, LXFrench, L"Keyword", L"Definition", false},
        {LXFrench, LXEnglish, L"English", L"French", true},
    };
    for (const auto& c : cases) {
        CAddEntriesDialog dialog(c.language1, c.language2, LXProductDefault, nullptr, L"");
        ASSERT_TRUE(dialog.createModeless(nullptr));
        HWND w = dialog.hwnd();
        EXPECT_EQ(controlText(w, kAddFirstLabel), c.first) << c.language1 << "," << c.language2;
        EXPECT_EQ(controlText(w, kAddSecondLabel), c.second) << c.language1 << "," << c.language2;
        const bool shown = (GetWindowLongW(GetDlgItem(w, kAddSecondPartOfSpeech), GWL_STYLE) & WS_VISIBLE) != 0;
        EXPECT_EQ(shown, c.secondList) << c.language1 << "," << c.language2;
        EXPECT_EQ(fwWindowText(w), L"Add entries");
    }
}

// Over the English-French sample module, both lists offer named parts of speech only and
// open on the first of them, so no list starts blank.
TEST(AddEntriesDialog, EnglishFrenchListsOpenOnANamedPartOfSpeech) {
    testApp();
    std::string dictionary;
    if (!lx_findSample(LXSampleDictionary, "english-french.lxd", dictionary)) return;
    std::unique_ptr<LXDataManager> dm(LXDataManager::create());
    lxstring p;
    toEngineString(std::wstring(dictionary.begin(), dictionary.end()), p);
    ASSERT_EQ(dm->addDictionaryModule(p), 0);
    CAddEntriesDialog dialog(LXFrench, LXEnglish, 10, dm.get(), L"");
    ASSERT_TRUE(dialog.createModeless(nullptr));
    const struct { int id; const wchar_t* first; } lists[] = {
        {kAddFirstPartOfSpeech, L"n"}, {kAddSecondPartOfSpeech, L"adj"},
    };
    for (const auto& l : lists) {
        HWND combo = GetDlgItem(dialog.hwnd(), l.id);
        const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        ASSERT_GT(count, 0) << l.id;
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0) << l.id;
        EXPECT_EQ(selectedComboText(combo), l.first) << l.id;
        for (LRESULT i = 0; i < count; ++i)
            EXPECT_GT(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0), 0) << l.id << ": item " << i;
    }
}

// The conjugation dialog over the French conjugation module and the English-French
// dictionary (a conjugation language needs a dictionary of that language).
class ConjugationDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApp();
        std::string dictionary, verbs;
        if (!lx_findSample(LXSampleDictionary, "english-french.lxd", dictionary)) return;
        if (!lx_findSample(LXSampleConjugation, "fr.lxc", verbs)) return;
        dm_.reset(LXDataManager::create(&LXCreateConjugationEngine));
        ASSERT_TRUE(dm_);
        lxstring p;
        toEngineString(std::wstring(dictionary.begin(), dictionary.end()), p);
        ASSERT_EQ(dm_->addDictionaryModule(p), 0);
        toEngineString(std::wstring(verbs.begin(), verbs.end()), p);
        ASSERT_TRUE(dm_->addStemmingModule(p));
        dialog_.reset(new CConjugationDialog(LXFrench, dm_.get()));
        ASSERT_TRUE(dialog_->create());
        dialog_->show();
        verb_ = GetDlgItem(dialog_->hwnd(), kVerbInput);
        list_ = GetDlgItem(dialog_->hwnd(), kSuggestionList);
    }
    void TearDown() override {
        dialog_.reset();
        dm_.reset();
    }
    void type(const std::wstring& text) {
        SetFocus(verb_);
        for (wchar_t c : text) SendMessageW(verb_, WM_CHAR, c, 0);
    }
    void key(UINT vk) {
        SendMessageW(verb_, WM_KEYDOWN, vk, 0);
        SendMessageW(verb_, WM_KEYUP, vk, 0);
    }
    std::wstring conjugation() const { return controlText(dialog_->hwnd(), kConjugationText); }
    bool listShown() const { return IsWindowVisible(list_) != 0; }
    std::wstring suggestion(int i) const {
        wchar_t buf[256] = L"";
        SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
        return buf;
    }

    std::unique_ptr<LXDataManager> dm_;
    std::unique_ptr<CConjugationDialog> dialog_;
    HWND verb_ = nullptr, list_ = nullptr;
};

TEST_F(ConjugationDialogTest, SuggestsAsTypedAndTakesTheChoice) {
    EXPECT_EQ(selectedComboCode(GetDlgItem(dialog_->hwnd(), kVerbLanguage)), LXFrench);
    EXPECT_FALSE(listShown());
    type(L"parl");
    ASSERT_TRUE(listShown());
    int count = static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0));
    EXPECT_GT(count, 0);
    EXPECT_LE(count, static_cast<int>(kMaxSuggestions));
    EXPECT_EQ(SendMessageW(list_, LB_GETCURSEL, 0, 0), LB_ERR) << "nothing selected at first";
    bool offered = false;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(suggestion(i).compare(0, 4, L"parl"), 0) << suggestion(i);
        if (suggestion(i) == L"parler") offered = true;
    }
    EXPECT_TRUE(offered);

    // Down from none selects the first; Escape clears; Up from none stays at none.
    key(VK_DOWN);
    EXPECT_EQ(SendMessageW(list_, LB_GETCURSEL, 0, 0), 0);
    key(VK_ESCAPE);
    EXPECT_EQ(SendMessageW(list_, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_TRUE(listShown()) << "Escape only clears the choice";
    key(VK_UP);
    EXPECT_EQ(SendMessageW(list_, LB_GETCURSEL, 0, 0), LB_ERR);

    int at = static_cast<int>(SendMessageW(list_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(L"parler")));
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    key(VK_RETURN);
    EXPECT_FALSE(listShown());
    EXPECT_EQ(controlText(dialog_->hwnd(), kVerbInput), L"parler");
    EXPECT_NE(conjugation().find(L"parlons"), std::wstring::npos) << conjugation();
    DWORD start = 1, end = 0;
    SendMessageW(verb_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 6u) << "the verb is selected for the next one";
    EXPECT_GT(SendDlgItemMessageW(dialog_->hwnd(), kTenseList, CB_GETCOUNT, 0, 0), 1);
    EXPECT_FALSE(controlText(dialog_->hwnd(), kVerbDetails).empty());
}

TEST_F(ConjugationDialogTest, TabTakesWhatWasTypedAndMovesOn) {
    type(L"finir");
    ASSERT_TRUE(listShown());
    key(VK_TAB);
    EXPECT_FALSE(listShown());
    EXPECT_NE(conjugation().find(L"finissons"), std::wstring::npos) << conjugation();
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog_->hwnd(), kVerbLanguage));
    // Without the list, Tab belongs to the dialog: the verb box does not ask for it.
    EXPECT_EQ(SendMessageW(verb_, WM_GETDLGCODE, VK_TAB, 0) & DLGC_WANTALLKEYS, 0);
}

TEST_F(ConjugationDialogTest, UnknownVerbEmptyVerbAndOtherTense) {
    dialog_->setVerb(L"xyzzyer");
    EXPECT_EQ(conjugation(), loadLocalizedString(12630));
    EXPECT_TRUE(controlText(dialog_->hwnd(), kVerbDetails).empty());
    dialog_->setVerb(L"");
    EXPECT_TRUE(conjugation().empty());

    dialog_->setVerb(L"parler");
    HWND tenses = GetDlgItem(dialog_->hwnd(), kTenseList);
    std::wstring first = conjugation();
    SendMessageW(tenses, CB_SETCURSEL, 1, 0);
    SendMessageW(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(kTenseList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(tenses));
    EXPECT_NE(conjugation(), first);
    EXPECT_FALSE(conjugation().empty());
    // The remembered tense holds for the next verb.
    LPARAM tense = selectedComboCode(tenses);
    dialog_->setVerb(L"finir");
    EXPECT_EQ(selectedComboCode(tenses), tense);
}

// Latin verbs are explained by the manual's verb-model page: choosing Latin asks for that
// page (here the manual is missing beside the test program, so the message that says where it
// was expected comes up) and leaves the language and the shown table as they were.
namespace {
std::wstring gAnswered;
BOOL CALLBACK answerWindow(HWND w, LPARAM) {
    if (!IsWindowVisible(w)) return TRUE;
    wchar_t cls[32] = L"";
    GetClassNameW(w, cls, 32);
    if (lstrcmpW(cls, L"HH Parent") == 0) {
        gAnswered = L"<help viewer>";
        PostMessageW(w, WM_CLOSE, 0, 0);
        return FALSE;
    }
    if (lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(w, 2101)) {
        gAnswered = controlText(w, 2101);
        PostMessageW(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return FALSE;
    }
    return TRUE;
}

// Answers the program's message box (or closes the help viewer) from inside the modal loop
// that shows it, noting what came up.
void CALLBACK answerBox(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), answerWindow, 0); }

// A Latin-English dictionary of one word and a Latin conjugation module of one verb.
void writeLatinModules(const std::string& dictionary, const std::string& verbs) {
    std::unique_ptr<LXCompressor> compressor(LXCompressor::create());
    std::unique_ptr<LXTokenizer> tokenizer(LXTokenizer::create());
    LXDWriter d(compressor.get(), tokenizer.get(), LXEnglish, LXLatin);
    LXTerm t = makeTerm(LXLatin, "amare", {"to love"});
    t.setTranslationLanguage(LXEnglish);
    std::string why;
    ASSERT_TRUE(d.addTerm(t, why)) << why;
    ASSERT_TRUE(d.write(dictionary, why)) << why;
    LXConjugationWriter c(LXLatin);
    addNames(c, {"ego", "tu", "is", "nos", "vos", "ei"}, {"Infinitivus"});
    c.addModel(makeModel(1, {{27, "are"}}, {six(80, "o", "as", "at", "amus", "atis", "ant")}));
    c.addVerb(makeVerb("amare", 1));
    ASSERT_TRUE(writeModule(c, verbs));
}
}  // namespace

TEST_F(ConjugationDialogTest, LatinOpensItsVerbModelsPage) {
    const std::string dictionary = tempPath("english-latin.lxd"), verbs = tempPath("la.lxc");
    writeLatinModules(dictionary, verbs);
    lxstring p;
    toEngineString(std::wstring(dictionary.begin(), dictionary.end()), p);
    ASSERT_EQ(dm_->addDictionaryModule(p), 0);
    toEngineString(std::wstring(verbs.begin(), verbs.end()), p);
    ASSERT_TRUE(dm_->addStemmingModule(p));
    dialog_->refresh();
    dialog_->setVerb(L"parler");
    const std::wstring table = conjugation();
    ASSERT_NE(table.find(L"parlons"), std::wstring::npos);

    HWND languages = GetDlgItem(dialog_->hwnd(), kVerbLanguage);
    ASSERT_TRUE(selectComboCode(languages, LXLatin)) << "Latin is offered with its modules";
    gAnswered.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 100, answerBox);
    SendMessageW(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(kVerbLanguage, CBN_SELCHANGE), reinterpret_cast<LPARAM>(languages));
    KillTimer(nullptr, timer);
    const std::wstring missing = replaceAll(replaceAll(loadLocalizedString(16000), L"<FOLDER>", dataFolder()), L"<FILE>",
                                            loadLocalizedString(8010));
    EXPECT_EQ(gAnswered, missing) << "the manual is asked for";
    EXPECT_EQ(loadRawString(9543), L"::/vmodels/latmodels.html");
    EXPECT_EQ(selectedComboCode(languages), LXFrench) << "the language stays";
    EXPECT_EQ(dialog_->language(), LXFrench);
    EXPECT_EQ(conjugation(), table) << "nothing is conjugated";

    // Any other language conjugates at once.
    ASSERT_TRUE(selectComboCode(languages, LXFrench));
    SendMessageW(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(kVerbLanguage, CBN_SELCHANGE), reinterpret_cast<LPARAM>(languages));
    EXPECT_NE(conjugation().find(L"parlons"), std::wstring::npos);
}

TEST_F(ConjugationDialogTest, ClosingHides) {
    HWND window = dialog_->hwnd();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    dialog_->setVerb(L"parler");  // handed over while hidden: conjugated at once
    EXPECT_NE(conjugation().find(L"parlons"), std::wstring::npos);
    dialog_->show();
    EXPECT_EQ(dialog_->hwnd(), window);
    EXPECT_TRUE(IsWindowVisible(window));
}

}  // namespace
