// The dialog that adds one of the user's own entries (a word, its translation and their
// parts of speech) to the additions module of a language pair.
#pragma once
#include "framework/fwdialog.h"
#include <string>

class LXDataManager;

enum AddEntriesControl {
    kAddEntriesDialog = 1200,
    kAddFirstLabel = 1201,
    kAddFirstWord = 1202,
    kAddFirstPartOfSpeech = 1203,
    kAddSecondLabel = 1204,
    kAddSecondWord = 1205,
    kAddSecondPartOfSpeech = 1206,
};

// How the dialog ends.
enum AddEntriesResult { kEntryAdded = IDOK, kEntryNotAdded = IDCANCEL, kEntryRefused = 129 };

class CAddEntriesDialog : public FwDialog {
public:
    // The languages are sorted (lower code first); the entry goes into `dm`'s additions
    // file of that pair and product, in the folder `dataFolder` + "/dictionaries".
    CAddEntriesDialog(int language1, int language2, int product, LXDataManager* dm, const std::wstring& dataFolder);
    INT_PTR run(HWND parent) { return runModal(parent); }
    // The words as entered (trimmed), read when OK was pressed.
    const std::wstring& firstWord() const { return word1_; }
    const std::wstring& secondWord() const { return word2_; }
    int language1() const { return language1_; }
    int language2() const { return language2_; }
    // A monolingual dictionary or a thesaurus: one word and its definition.
    bool monolingual() const;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    void fillPartsOfSpeech(int comboId, int language, int otherLanguage);
    INT_PTR add();

    int language1_, language2_, product_;
    LXDataManager* dm_;
    std::wstring dataFolder_;
    std::wstring word1_, word2_;
};
