// Form1 as a real window, driven by window messages as a person's keys and clicks would drive it.
// Needs a display.
#include "ui/form1window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "support/tempfolder.h"
#include "ui/systemdesktop.h"
#include "ui/texts.h"

namespace {

// The system's message pump, with the person's answers to the dialog and the boxes scripted.
class WindowDesktop : public SystemDesktop {
public:
    ScriptedDesktop script;

    std::optional<std::wstring> SelectDirectory(const std::wstring& start) override {
        return script.SelectDirectory(start);
    }
    void ShowErrorMessage(const std::wstring& text) override {
        script.ShowErrorMessage(text);
        ProcessMessages();
    }
    void ShowApplicationError(const std::wstring& text) override {
        script.ShowApplicationError(text);
    }
};

std::wstring Text(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

RECT ClientRect(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE TextSize(HWND control, const std::wstring& text) {
    const HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

int Scale(int value, unsigned dpi) {
    return MulDiv(value, int(dpi), 96);
}

class Form1WindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }

    void SetUp() override {
        WriteFileBytes(simulator / L"scenery.cfg", kLiveConfiguration);
        WriteFileBytes(simulator / L"b.cbi", kLibrary);
        WriteFileBytes(simulator / L"A.CBI", kLibrary);
        WriteFileBytes(other / L"other.cbi", kLibrary);
        operations.locate = [this] {
            return simulator.path();
        };
        operations.replace = [this] {
            const ReplaceCall& call = operations.replaceCalls.back();
            return ReplaceSceneryConfiguration(call.folder, call.sourcePath);
        };
    }

    void Open() {
        window.emplace(GetModuleHandleW(nullptr), desktop, operations.Bind(), false);
        desktop.SetOwner(window->Handle());
        window->Open(SW_SHOWNORMAL);
        Pump();
    }

    void Pump() { desktop.ProcessMessages(); }
    HWND Form1() const { return window->Handle(); }
    HWND Control(int id) const { return GetDlgItem(Form1(), id); }
    HWND BrowseButton() const { return Control(kDirectoryEdit1ButtonId); }
    std::vector<std::wstring> ListItems() const {
        std::vector<std::wstring> items;
        const HWND list = Control(kFileListBox1Id);
        for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
            wchar_t item[MAX_PATH] = L"";
            SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(item));
            items.emplace_back(item);
        }
        return items;
    }
    void Select(int index) {
        SendMessageW(Control(kFileListBox1Id), LB_SETCURSEL, WPARAM(index), 0);
    }
    void Click(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        Pump();
    }

    TempFolder simulator{L"ui-window-fs9"};
    TempFolder other{L"ui-window-other"};
    WindowDesktop desktop;
    ScriptedOperations operations;
    ProcessStateGuard processState;
    std::optional<Form1Window> window;
};

TEST_F(Form1WindowTest, OpensOnTheFoundFolder) {
    Open();
    wchar_t className[64];
    GetClassNameW(Form1(), className, 64);
    EXPECT_STREQ(className, L"TForm1");
    EXPECT_EQ(Text(Form1()), L"Form1");
    EXPECT_TRUE(IsWindowVisible(Form1()));
    EXPECT_EQ(Text(Control(kDirectoryEdit1Id)), simulator.path());
    EXPECT_EQ(ListItems(), (std::vector<std::wstring>{L"A.CBI", L"b.cbi"}));
    EXPECT_EQ(SendMessageW(Control(kFileListBox1Id), LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(Text(Control(kButton1Id)), L"GO!!!");
    EXPECT_TRUE(IsWindowEnabled(Control(kButton1Id)));
    EXPECT_EQ(GetFocus(), Control(kButton1Id));
    EXPECT_EQ(Text(Control(kLabel1Id)), L"Label1");
    EXPECT_EQ(CurrentDirectory(), simulator.path());
}

TEST_F(Form1WindowTest, TabOrderIsButtonListField) {
    Open();
    const HWND button = Control(kButton1Id);
    const HWND list = GetNextDlgTabItem(Form1(), button, FALSE);
    EXPECT_EQ(list, Control(kFileListBox1Id));
    EXPECT_EQ(GetNextDlgTabItem(Form1(), list, FALSE), Control(kDirectoryEdit1Id));
    EXPECT_EQ(GetNextDlgTabItem(Form1(), Control(kDirectoryEdit1Id), FALSE), button);
}

// Every rectangle is the design's, scaled from 96 dpi to the window's; also after a change of
// monitor to another DPI.
TEST_F(Form1WindowTest, LayoutIsTheDesignAtTheWindowsDpi) {
    Open();
    const auto check = [this](unsigned dpi) {
        RECT outer;
        GetWindowRect(Form1(), &outer);
        EXPECT_EQ(outer.right - outer.left, Scale(472, dpi));
        EXPECT_EQ(outer.bottom - outer.top, Scale(210, dpi));
        const struct {
            int id, left, top, width, height;
        } controls[] = {{kDirectoryEdit1Id, 40, 8, 369, 21},
                        {kFileListBox1Id, 40, 40, 241, 97},
                        {kButton1Id, 320, 32, 75, 25}};
        for (const auto& c : controls) {
            const RECT rect = ClientRect(Control(c.id));
            EXPECT_EQ(rect.left, Scale(c.left, dpi)) << c.id;
            EXPECT_EQ(rect.top, Scale(c.top, dpi)) << c.id;
            EXPECT_EQ(rect.right - rect.left, Scale(c.width, dpi)) << c.id;
            EXPECT_EQ(rect.bottom - rect.top, Scale(c.height, dpi)) << c.id;
        }
        EXPECT_EQ(SendMessageW(Control(kFileListBox1Id), LB_GETITEMHEIGHT, 0, 0), Scale(13, dpi));
        const RECT label = ClientRect(Control(kLabel1Id));
        EXPECT_EQ(label.left, Scale(72, dpi));
        EXPECT_EQ(label.top, Scale(152, dpi));
        EXPECT_EQ(label.right - label.left, TextSize(Control(kLabel1Id), L"Label1").cx);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(kLabel1Id), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -Scale(11, dpi));
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");

        // The browse button fills the field's inside at its right end, and nothing covers it.
        const HWND browse = BrowseButton();
        EXPECT_TRUE(IsWindowVisible(browse));
        RECT field;
        GetClientRect(Control(kDirectoryEdit1Id), &field);
        MapWindowPoints(Control(kDirectoryEdit1Id), Form1(), reinterpret_cast<POINT*>(&field), 2);
        const RECT button = ClientRect(browse);
        EXPECT_EQ(button.right, field.right);
        EXPECT_EQ(button.top, field.top);
        EXPECT_EQ(button.bottom, field.bottom);
        EXPECT_GT(button.left, (field.left + field.right) / 2);
        const POINT middle{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
        EXPECT_EQ(ChildWindowFromPointEx(Form1(), middle, CWP_SKIPINVISIBLE), browse);
    };
    UINT dpi = 96;
    if (const auto getDpiForWindow = reinterpret_cast<UINT(WINAPI*)(HWND)>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow"))))
        dpi = getDpiForWindow(Form1());
    {
        SCOPED_TRACE("at the start-up DPI");
        check(dpi);
    }
    {
        SCOPED_TRACE("after a move to a 144 dpi monitor");
        RECT suggested{100, 100, 100 + Scale(472, 144), 100 + Scale(210, 144)};
        SendMessageW(Form1(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&suggested));
        check(144);
    }
}

TEST_F(Form1WindowTest, GoInstallsTheSelectedLibrary) {
    Open();
    Select(1);
    Click(Control(kButton1Id));
    EXPECT_EQ(Text(Control(kLabel1Id)), kDoneText);
    EXPECT_FALSE(IsWindowEnabled(Control(kButton1Id)));
    EXPECT_NE(GetFocus(), Control(kButton1Id));
    EXPECT_EQ(ReadFileBytes(simulator / L"scenery.old"), kLiveConfiguration);
    EXPECT_EQ(ReadFileBytes(simulator / L"scenery.cfg"), kLibraryRenumbered);
    EXPECT_TRUE(desktop.script.errorMessages.empty());
    EXPECT_TRUE(desktop.script.applicationErrors.empty());

    // Done stays: another folder does not bring the button back.
    desktop.script.dialogAnswers = {other.path()};
    Click(BrowseButton());
    EXPECT_EQ(ListItems(), std::vector<std::wstring>{L"other.cbi"});
    EXPECT_EQ(Text(Control(kDirectoryEdit1Id)), other.path());
    EXPECT_FALSE(IsWindowEnabled(Control(kButton1Id)));
}

// The keys that press the focused button.
struct KeyCase {
    const char* name;
    WPARAM key;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.name;
}

class KeysOnButton1 : public Form1WindowTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(KeysOnButton1, PressIt) {
    Open();
    Select(0);
    ASSERT_EQ(GetFocus(), Control(kButton1Id));
    PostMessageW(Control(kButton1Id), WM_KEYDOWN, GetParam().key, 1);
    PostMessageW(Control(kButton1Id), WM_KEYUP, GetParam().key, 0xC0000001);
    Pump();
    EXPECT_EQ(Text(Control(kLabel1Id)), kDoneText);
    EXPECT_EQ(operations.replaceCalls.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(, KeysOnButton1,
                         testing::Values(KeyCase{"Enter", VK_RETURN}, KeyCase{"Space", VK_SPACE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form1WindowTest, EnterElsewhereDoesNothing) {
    Open();
    Select(0);
    SetFocus(Control(kFileListBox1Id));
    PostMessageW(Control(kFileListBox1Id), WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(Control(kFileListBox1Id), WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    EXPECT_TRUE(operations.replaceCalls.empty());
    EXPECT_TRUE(IsWindow(Form1()));
}

TEST_F(Form1WindowTest, WrongFolderIsReportedAndTheButtonStays) {
    Open();
    desktop.script.dialogAnswers = {other.path()};
    Click(BrowseButton());
    Select(0);
    Click(Control(kButton1Id));
    EXPECT_EQ(desktop.script.errorMessages, std::vector<std::wstring>{L"Wrong FS Folder"});
    EXPECT_EQ(Text(Control(kLabel1Id)), other / L"other.cbi");
    EXPECT_TRUE(IsWindowEnabled(Control(kButton1Id)));
    EXPECT_EQ(other.Names(), std::set<std::wstring>{L"other.cbi"});
}

TEST_F(Form1WindowTest, AnEscapedErrorGoesToTheApplicationsBox) {
    Open();
    Click(Control(kButton1Id)); // nothing selected: the empty source cannot be opened
    ASSERT_EQ(desktop.script.applicationErrors.size(), 1u);
    const std::wstring& text = desktop.script.applicationErrors[0];
    EXPECT_EQ(text, ErrorBoxText(text)) << "the full stop rule";
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(Text(Control(kLabel1Id)), L"");
    EXPECT_TRUE(IsWindowEnabled(Control(kButton1Id)));
    EXPECT_EQ(ReadFileBytes(simulator / L"scenery.cfg"), kLiveConfiguration);

    // The window goes on working.
    Select(0);
    Click(Control(kButton1Id));
    EXPECT_EQ(Text(Control(kLabel1Id)), kDoneText);
}

TEST_F(Form1WindowTest, ASingleAmpersandInTheLabelIsAnUnderline) {
    TempFolder ampersand{L"R&D"};
    WriteFileBytes(ampersand / L"lib.cbi", kLibrary);
    Open();
    desktop.script.dialogAnswers = {ampersand.path()};
    Click(BrowseButton());
    Select(0);
    Click(Control(kButton1Id)); // no scenery.cfg there: the label keeps the path
    const std::wstring path = ampersand / L"lib.cbi";
    ASSERT_EQ(Text(Control(kLabel1Id)), path);
    std::wstring shown = path;
    shown.erase(shown.find(L'&'), 1);
    const RECT label = ClientRect(Control(kLabel1Id));
    EXPECT_EQ(label.right - label.left, TextSize(Control(kLabel1Id), shown).cx);
}

TEST_F(Form1WindowTest, AltDownInTheFieldOpensTheDialog) {
    Open();
    const HWND field = Control(kDirectoryEdit1Id);
    SetWindowTextW(field, other.path().c_str()); // typed by the person
    SetFocus(field);
    desktop.script.dialogAnswers = {std::nullopt};
    PostMessageW(field, WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
    Pump();
    EXPECT_EQ(desktop.script.dialogStarts, std::vector<std::wstring>{other.path()});
    // Cancel still moves to the dialog's start.
    EXPECT_EQ(SimulatorFolder, other.path());
    EXPECT_EQ(ListItems(), std::vector<std::wstring>{L"other.cbi"});
}

TEST_F(Form1WindowTest, ClosingGoesBackToTheProgramFolder) {
    Open();
    ASSERT_EQ(CurrentDirectory(), simulator.path());
    SendMessageW(Form1(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(Form1()));
    EXPECT_EQ(CurrentDirectory(), FolderOfPath(ExecutablePath()));
}

TEST_F(Form1WindowTest, AStartUpErrorIsShownAndTheWindowOpens) {
    operations.locate = []() -> std::wstring {
        throw Error("Invalid data type for 'EXE Path'");
    };
    Open();
    EXPECT_EQ(desktop.script.applicationErrors,
              std::vector<std::wstring>{L"Invalid data type for 'EXE Path'"});
    EXPECT_TRUE(IsWindowVisible(Form1()));
    EXPECT_EQ(Text(Control(kDirectoryEdit1Id)), L"DirectoryEdit1");
    EXPECT_TRUE(IsWindowEnabled(Control(kButton1Id)));
}

} // namespace
