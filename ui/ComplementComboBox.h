#pragma once
// A folder path field that completes what the user types from the file system.
// Keys and double clicks reach it before the dialog's keyboard navigation (the
// modal loop offers them to the control first); its drop-down, close-up and
// selection notifications stay with the control.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/Controls.h"

class CComplementComboBox : public CComboBoxEx {
public:
    // The field's text when the list last opened, or the entry Enter picked;
    // written back into the field when the list closes.
    std::string savedText;
    // What RefillList puts into the list.
    std::vector<std::string> presetEntries;
    // 1: only folders are candidates, and a dropped file gives its folder.
    int foldersOnly = 0;

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Empties the list and appends presetEntries.
    virtual void RefillList();

    // Steps the open list down, or lists and applies the candidates of the field.
    void Complete();
    // Fills the list with the candidates of a prefix of two bytes or more.
    void ListCandidates(const std::string& prefix);
    // Completes a drive or network start, takes a single candidate, or opens
    // the list on several.
    void ApplyCandidates();
    // One entry down or up, wrapping around at either end.
    void MoveSelection(bool downwards);
    // Cuts the field back by one step: D:\a\b\ becomes D:\a\b, then D:\a\.
    void GoUpOneLevel();
    // Deletes from the end of the selection (or the caret) to the end of the text.
    void DeleteToEnd();

    std::string GetFieldText() const;
    // Sets the field and moves the caret after the last character.
    void SetFieldText(const std::string& text);
    bool IsListOpen() const;

protected:
    DECLARE_MESSAGE_MAP()
    void OnDropDown();
    void OnCloseUp();
    void OnSelChange();
    void OnDropFiles(HDROP drop);

private:
    // True when the key is consumed.
    bool HandleKeyDown(UINT key);
    bool IsOwnWindow(HWND hwnd) const;
    void ShowList(bool open);
    void PickSelectedEntry();
    void MoveCaretToEnd();
};
