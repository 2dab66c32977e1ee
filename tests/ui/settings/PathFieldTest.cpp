// The completing path field, driven by keys, double clicks and drops inside the
// real settings dialog (its processing folder field).
#include <gtest/gtest.h>

#include <memory>

#include "DialogScript.h"
#include "SettingsTestKit.h"
#include "TestFiles.h"
#include "base/AnsiText.h"
#include "ui/DlgSetting.h"
#include "ui/SystemPath.h"

namespace {

constexpr UINT kDoubleClick = 0; // stands for a double click in the key column

// Real input: it reaches whichever window has the keyboard focus, as typing
// does, unlike a message posted to a chosen window.
void TypeKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT point) {
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = point.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = point.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
    }
    inputs[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

class PathFieldTest : public testing::Test {
protected:
    PathFieldTest() {
        for (const char* folder : {"alpha", "表能", "bZ", "b_1", "B2", "b表"})
            MakeFolder(dir / folder);
        WriteFileBytes(dir / "alps.txt", "x");
        WriteFileBytes(dir / "b.txt", "x");
        MakeWidePath(dir.Path(), L"b\u00e9\\"); // never offered, not even as its look-alike be
    }

    CComplementComboBox& Box() { return dialog.processingBox; }
    HWND Edit() { return Box().GetEditCtrl(); }
    std::string Field() { return Box().GetFieldText(); }
    std::string Path(const std::string& relative) { return dir / relative; }
    std::vector<std::string> Entries() {
        std::vector<std::string> entries;
        for (int i = 0; i < Box().GetCount(); ++i)
            entries.push_back(Box().GetLBText(i));
        return entries;
    }
    bool CaretAtEnd() {
        DWORD start = 0, end = 0;
        SendMessageA(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return start == end && end == static_cast<DWORD>(GetWindowTextLengthW(Edit()));
    }

    // Types a text into the field with the focus there and the caret at its end.
    void Type(const std::string& text) {
        script.Then([this, text] {
            SetFocus(Edit());
            SetWindowTextA(Edit(), text.c_str());
            SendMessageA(Edit(), EM_SETSEL, text.size(), text.size());
        });
    }
    // Presses keys (kDoubleClick for a double click) with a modifier held when
    // asked. The dialog's loop handles them before the script's next tick.
    void Press(std::vector<UINT> keys, int modifier = 0) {
        script.Then([this, keys, modifier] {
            if (modifier != 0)
                held_ = std::make_unique<HeldKey>(modifier);
            for (UINT key : keys) {
                if (key == kDoubleClick)
                    PostMessageA(Edit(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
                else
                    PostKey(Edit(), key);
            }
        });
        script.Then([this] { held_.reset(); });
    }
    void Check(std::function<void()> check) { script.Then(std::move(check)); }
    // Runs the dialog with the script, cancelling it at the end unless the
    // script's own keys close it.
    void RunDialog(bool cancelAtEnd = true) {
        if (cancelAtEnd)
            script.Then([this] { PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(IDCANCEL, script.Run([this] { return dialog.DoModal(); }));
        EXPECT_FALSE(script.TimedOut());
    }

    TempDir dir;
    ScratchJobContext scratch;
    CDlgSetting dialog{scratch.context, dir / "job.orvane"};
    DialogScript script;
    std::unique_ptr<HeldKey> held_;
};

} // namespace

TEST_F(PathFieldTest, CompletesDriveAndNetworkStartsAndSingleCandidates) {
    struct Case {
        std::string typed;
        std::vector<UINT> keys;
        int held;
        std::string expected;
    };
    const Case cases[] = {
        {"d", {VK_DOWN}, 0, "d:\\"},
        {"\\", {VK_DOWN}, 0, "\\\\"},
        {"d:", {VK_DOWN}, 0, "d:\\"},
        {Path("al"), {VK_DOWN}, 0, Path("alpha\\")}, // the file alps.txt is no candidate
        {"5", {VK_DOWN}, 0, Path("alpha\\")},        // the single entry left from before
        {Path("AL"), {VK_SPACE}, VK_CONTROL, Path("alpha\\")},
        {Path("al"), {'J'}, VK_CONTROL, Path("alpha\\")},
        {Path("al"), {kDoubleClick}, 0, Path("alpha\\")},
        {Path("al"), {VK_SPACE, 'J'}, 0, Path("al j")}, // without Ctrl they are typed
        {Path("表"), {VK_DOWN}, 0, Path("表能\\")},
    };
    for (const Case& c : cases) {
        Type(c.typed);
        Press(c.keys, c.held);
        Check([this, &c] {
            EXPECT_EQ(c.expected, Field()) << c.typed;
            EXPECT_TRUE(CaretAtEnd()) << c.typed;
            EXPECT_FALSE(Box().IsListOpen()) << c.typed;
        });
    }
    RunDialog();
}

TEST_F(PathFieldTest, SeveralCandidatesOpenTheListAndEscapeRestoresTheTypedText) {
    const std::vector<std::string> sorted = {Path("B2\\"), Path("b_1\\"), Path("bZ\\"),
                                             Path("b表\\")};
    Type(Path("b"));
    Press({VK_DOWN});
    Check([&] {
        EXPECT_TRUE(Box().IsListOpen());
        EXPECT_EQ(sorted, Entries()); // folders only, in CompareNoCase order
        EXPECT_EQ(Path("b"), Box().savedText);
    });
    Press({VK_DOWN});
    Check([&] { EXPECT_EQ(sorted[0], Field()); });
    Press({VK_ESCAPE});
    Check([&] {
        EXPECT_FALSE(Box().IsListOpen());
        EXPECT_EQ(Path("b"), Field());
    });
    Press({VK_UP}); // list closed: it opens empty
    Check([&] {
        EXPECT_TRUE(Box().IsListOpen());
        EXPECT_EQ(0, Box().GetCount());
    });
    Press({VK_ESCAPE, VK_ESCAPE}); // the second one, with the list closed, cancels the dialog
    RunDialog(false);
}

TEST_F(PathFieldTest, MovesTheSelectionWithWrapAroundAndEnterPicksIt) {
    struct Case {
        std::vector<UINT> keys;
        int held;
        int selected;
    };
    const Case cases[] = {
        {{VK_UP}, 0, 3},                                       // from none to the last
        {{VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN}, 0, 0}, // past the last to the first
        {{VK_DOWN, VK_UP}, 0, 3},                              // before the first to the last
        {{VK_TAB, VK_TAB}, 0, 1},
        {{VK_TAB}, VK_SHIFT, 3},
    };
    for (const Case& c : cases) {
        Type(Path("b"));
        Press({VK_DOWN});
        Press({VK_RETURN}); // nothing selected yet: the list stays open
        Press(c.keys, c.held);
        Check([this, &c] {
            EXPECT_TRUE(Box().IsListOpen());
            EXPECT_EQ(c.selected, Box().GetCurSel());
        });
        Press({VK_RETURN});
        Check([this, &c] {
            EXPECT_FALSE(Box().IsListOpen());
            EXPECT_EQ(Box().GetLBText(c.selected), Field());
            EXPECT_EQ(Field(), Box().savedText);
        });
    }
    RunDialog();
}

TEST_F(PathFieldTest, ListsFilesTooWhenNotRestrictedToFolders) {
    script.Then([this] { Box().foldersOnly = 0; });
    Type(Path("b"));
    Press({VK_DOWN});
    Check([this] {
        ASSERT_EQ(5, Box().GetCount());
        EXPECT_EQ(Path("b.txt"), Box().GetLBText(0));
    });
    RunDialog();
}

TEST_F(PathFieldTest, PageUpClimbsAndPageDownCutsToTheEnd) {
    const std::pair<const char*, const char*> climbs[] = {
        {"D:\\a\\b\\c", "D:\\a\\b\\"},
        {"D:\\a\\b\\", "D:\\a\\b"},
        {"D:\\a\\b", "D:\\a\\"},
        {"D:\\", "D:"},
        {"D:", "D"},
        {"D", ""},
        {"C:\\x\\表\\", "C:\\x\\表"},
        {"C:\\x\\表", "C:\\x\\"},
    };
    for (const auto& [typed, expected] : climbs) {
        Type(typed);
        Press({VK_PRIOR});
        Check([&] { EXPECT_EQ(expected, Field()) << typed; });
    }
    Type("D:\\a\\b");
    Press({'K'}, VK_CONTROL);
    Press({'K'}); // without Ctrl it passes on and is typed
    Check([&] { EXPECT_EQ("D:\\a\\k", Field()); });

    Type("abcdef");
    script.Then([this] { SendMessageA(Edit(), EM_SETSEL, 1, 3); });
    Press({VK_NEXT});
    Check([&] { EXPECT_EQ("abc", Field()); });
    script.Then([this] { SendMessageA(Edit(), EM_SETSEL, 1, 1); });
    Press({'L'}, VK_CONTROL);
    Check([&] { EXPECT_EQ("a", Field()); });
    RunDialog();
}

TEST_F(PathFieldTest, DroppedFileGivesItsFolderAndOnlyTheFirstItemCounts) {
    MakeFolder(dir / "sub");
    WriteFileBytes(dir / "sub\\ソ", "x"); // a file name ending in a 0x5C byte
    struct Case {
        std::vector<std::string> dropped;
        std::string expected;
    };
    const Case cases[] = {
        {{Path("alps.txt")}, Path("")},
        {{Path("sub\\ソ")}, Path("sub\\")},
        {{Path("表能"), Path("alps.txt")}, Path("表能")},
        {{Path("missing.txt")}, Path("missing.txt")},
    };
    for (const Case& c : cases) {
        script.Then([this, &c] {
            SendMessageA(Box().m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(c.dropped)),
                         0);
            EXPECT_EQ(c.expected, Field()) << c.dropped[0];
        });
    }
    // A name outside the code page is refused with a message naming it, never
    // taken as its look-alike be.
    std::string refusal;
    script.Then([this] {
        SetWindowTextA(Edit(), "kept");
        std::wstring dropped = AnsiToWide(dir.Path()) + L"\\b\u00e9";
        SendMessageA(Box().m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(dropped)), 0);
    });
    script.Until([&] { return !(refusal = TakeMessageBox()).empty(); });
    Check([&] {
        EXPECT_EQ(UnusablePathMessage(Path("b?")), refusal);
        EXPECT_EQ("kept", Field());
    });
    RunDialog();
}

TEST_F(PathFieldTest, AfterAPickTheFieldTakesTypingBackspaceHomeAndEnd) {
    enum class Pick { Enter, Click, Escape };
    struct Case {
        Pick pick;
        std::string picked; // the field's text once the list has closed
    };
    const Case cases[] = {
        {Pick::Enter, Path("B2\\")},
        {Pick::Click, Path("B2\\")}, // the first entry of the list
        {Pick::Escape, Path("b")},
    };
    script.Then([this] { SetForegroundWindow(dialog.m_hWnd); });
    for (const Case& c : cases) {
        Type(Path("b"));
        script.Then([] { TypeKeys({VK_DOWN}); });
        script.Then([this, &c] {
            ASSERT_TRUE(Box().IsListOpen());
            COMBOBOXINFO info = {};
            info.cbSize = sizeof info;
            GetComboBoxInfo(Box().GetComboBoxCtrl(), &info);
            RECT list = {};
            GetWindowRect(info.hwndList, &list);
            if (c.pick == Pick::Click)
                ClickAt({list.left + 10, list.top + 4});
            else if (c.pick == Pick::Enter)
                TypeKeys({VK_DOWN, VK_RETURN});
            else
                TypeKeys({VK_DOWN, VK_ESCAPE});
        });
        script.Then([this, &c] {
            EXPECT_FALSE(Box().IsListOpen());
            EXPECT_EQ(c.picked, Field());
            EXPECT_EQ(Edit(), GetFocus());
            TypeKeys({VK_END, 'X', VK_BACK, VK_BACK, VK_HOME, 'Y', VK_END, 'Z'});
        });
        script.Then([this, &c] {
            // Built step by step: GCC 12 misreads the one-line concatenation as
            // an overlapping copy.
            std::string expected = "y";
            expected.append(c.picked, 0, c.picked.size() - 1);
            expected += 'z';
            EXPECT_EQ(expected, Field());
        });
    }
    RunDialog();
}
