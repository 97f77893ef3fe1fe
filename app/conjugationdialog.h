// The conjugation dialog: a verb typed (with suggestions from the conjugation module as
// it is typed) and its forms tense by tense in one of the installed conjugation languages.
// Modeless, made once by the main view; closing it only hides it.
#pragma once
#include "framework/fwdialog.h"
#include "framework/fwwindow.h"
#include <string>

class LXDataManager;

enum ConjugationControl {
    kConjugationDialog = 1400,
    kVerbInput = 1401,
    kVerbLanguage = 1402,
    kConjugationText = 1403,
    kVerbDetails = 1404,
    kTenseList = 1405,
    kSuggestionList = 1661,
};
// The tense shown first (and after a change of language).
constexpr int kDefaultTense = 72;
// The most suggestions asked for at once.
constexpr uint32_t kMaxSuggestions = 60;

// What the verb box asks of its dialog for the keys the suggestion list takes.
class CVerbKeys {
public:
    virtual ~CVerbKeys() = default;
    virtual bool suggestionsShown() const = 0;
    // Enter or Tab (Shift+Tab with `backwards`): the key was used.
    virtual void takeSuggestion(bool tab, bool backwards) = 0;
    virtual void moveSuggestion(int delta) = 0;
    virtual void clearSuggestionSelection() = 0;
    virtual void verbBoxLeft(HWND next) = 0;
};

// The verb box: while the suggestion list shows it keeps Enter, Tab, Escape, Up and Down
// from the dialog's own navigation.
class CVerbEdit : public FwWindow {
public:
    void setKeys(CVerbKeys* keys) { keys_ = keys; }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onKillFocus(HWND next) override;

private:
    CVerbKeys* keys_ = nullptr;
};

class CConjugationDialog : public FwDialog, private CVerbKeys {
public:
    CConjugationDialog(int language, LXDataManager* dm);
    ~CConjugationDialog() override;
    bool create() { return createModeless(nullptr); }
    void show();
    // Selects the language whose code matches (none: unchanged).
    void setLanguage(int code);
    // Puts the text in the verb box and conjugates it.
    void setVerb(const std::wstring& text);
    // Captions and languages again.
    void refresh();
    int language() const { return language_; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onClose() override;

private:
    // CVerbKeys
    bool suggestionsShown() const override;
    void takeSuggestion(bool tab, bool backwards) override;
    void moveSuggestion(int delta) override;
    void clearSuggestionSelection() override;
    void verbBoxLeft(HWND next) override;

    void verbChanged();
    void showSuggestions(bool on);
    void languageChanged();
    void conjugate();
    void showTense();
    void showTexts(const std::wstring& conjugation, const std::wstring& details);

    int language_;
    int tense_ = kDefaultTense;
    LXDataManager* dm_;
    CVerbEdit verb_;
    bool settingVerb_ = false;
};
