#pragma once
// What the settings tests share: a scratch job context, reading and setting
// the dialog's fields as the user would, keys, drops and message boxes.
#include <windows.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "job/JobContext.h"
#include "tests/job/ScratchProfile.h"

// A job context whose recent list lives under a registry key of this process.
struct ScratchJobContext {
    ScratchProfile profile;
    JobContext context{profile.Get()};
};

HWND EditOf(HWND comboBoxEx);
std::string TextOf(HWND window);
// The text of an item; for a path field the text of its edit field.
std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// Clicks a button through the dialog's loop, as a mouse click would arrive.
void Click(HWND dialog, int id);
// Selects a mode list entry and tells the dialog, as a user's choice would.
void ChooseMode(HWND dialog, int index);

// Posts a key press to a window; a Ctrl or Shift held down is set in the
// thread's key state for as long as the HeldKey lives.
void PostKey(HWND target, UINT key);
class HeldKey {
public:
    explicit HeldKey(int key);
    ~HeldKey();
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

private:
    BYTE saved_[256];
};

// The visible settings dialog of this thread, found by its title.
HWND FindSettingsDialog();
// A visible dialog owned by `owner` other than the "Orvane" message box.
HWND FindOwnedDialog(HWND owner);
// The text of the selected item of the folder browser's tree.
std::string SelectedTreeItemText(HWND browser);
// Selects, as a click would, the folder of that name beside the selected one;
// false while the browser does not list it yet.
bool SelectSiblingFolder(HWND browser, const std::string& name);
// The text of the open "Orvane" message box after pressing its OK button, or
// empty when none is open.
std::string TakeMessageBox();
// An HDROP as the shell builds it, with ANSI names; the receiver frees it.
HDROP MakeDrop(const std::vector<std::string>& paths);
// The same with one UTF-16 name, as the shell gives names outside the code page.
HDROP MakeDrop(const std::wstring& path);
