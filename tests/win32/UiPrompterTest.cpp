// The real prompter: message boxes, the input box, the folder browser and the file dialogs,
// each answered by posted clicks while it waits.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "UiDriver.h"
#include "ui/CommonControls.h"
#include "ui/Control.h"
#include "ui/FileFilter.h"
#include "ui/InputBox.h"
#include "ui/Win32Prompter.h"
#include "ui/Window.h"

namespace quillon::ui {
namespace {

using uitest::drainQuit;
using uitest::postClick;
using uitest::pumpUntil;
using uitest::WindowScript;

constexpr int filenameCombo = 0x47c;  // cmb13 of the file dialogs
constexpr int filenameEdit = 0x480;   // edt1

class OwnerWindow final : public Window {
public:
    bool open() {
        WindowSpec desc;
        desc.className = "QuillonUiPrompterOwner";
        desc.title = "Quillon prompter owner";
        desc.clientWidth = 200;
        desc.clientHeight = 80;
        if (!create(desc)) return false;
        ShowWindow(hwnd(), SW_SHOW);
        return true;
    }
};

struct ChildSearch {
    std::string text;
    HICON icon = nullptr;
    bool textFound = false;
};

BOOL CALLBACK inspectChild(HWND child, LPARAM context) noexcept {
    auto& search = *reinterpret_cast<ChildSearch*>(context);
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    if (search.text == text) search.textFound = true;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        if (auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0))) search.icon = icon;
    }
    return TRUE;
}

class UiPrompter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(initCommonControls());
        ASSERT_TRUE(owner.open()) << "the owner window did not appear";
        ASSERT_TRUE(pumpUntil([&] { return GetActiveWindow() == owner.hwnd(); })) << "the owner never became active";
    }
    void TearDown() override { drainQuit(); }

    // The folder every file test works in, emptied first.
    static std::string tempFolder() {
        char path[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, path);
        std::string folder = std::string(path) + "QuillonUiPrompterTest";
        CreateDirectoryA(folder.c_str(), nullptr);
        DeleteFileA((folder + "\\list.qdf").c_str());
        return folder;
    }

    OwnerWindow owner;
    Win32Prompter prompter;
};

TEST_F(UiPrompter, MessageBoxShowsTheRequestAndReturnsTheClickedButton) {
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        int defaultButton;
        int expectedDefaultId;
        int click;
        MsgAnswer answer;
    };
    const Case cases[] = {
        {MsgButtons::YesNoCancel, MsgIcon::Question, 2, IDNO, IDYES, MsgAnswer::Yes},
        {MsgButtons::YesNoCancel, MsgIcon::Exclamation, 3, IDCANCEL, IDCANCEL, MsgAnswer::Cancel},
        {MsgButtons::OkCancel, MsgIcon::Exclamation, 1, IDOK, IDCANCEL, MsgAnswer::Cancel},
        {MsgButtons::AbortRetryIgnore, MsgIcon::Critical, 3, IDIGNORE, IDIGNORE, MsgAnswer::Ignore},
        {MsgButtons::YesNo, MsgIcon::Information, 1, IDYES, IDNO, MsgAnswer::No},
        {MsgButtons::RetryCancel, MsgIcon::None, 1, IDRETRY, IDRETRY, MsgAnswer::Retry},
        {MsgButtons::Ok, MsgIcon::Information, 1, IDOK, IDOK, MsgAnswer::Ok},
    };
    const LPCSTR icons[] = {nullptr, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(++n);
        const MessageRequest request{"Delete the selected files?", "Quillon message test", c.icon, c.buttons,
                                     c.defaultButton};
        ChildSearch seen{request.text};
        HWND boxOwner = nullptr;
        int focused = 0;
        WindowScript script;
        script.when(request.title, [&](HWND box) {
            EnumChildWindows(box, inspectChild, reinterpret_cast<LPARAM>(&seen));
            boxOwner = GetWindow(box, GW_OWNER);
            focused = GetDlgCtrlID(GetFocus());  // the default button starts with the focus
            postClick(box, c.click);
        });
        script.start();
        EXPECT_EQ(prompter.message(request), c.answer);
        ASSERT_TRUE(script.finished()) << script.failure();
        EXPECT_TRUE(seen.textFound) << "the text is not in the box";
        EXPECT_EQ(boxOwner, owner.hwnd()) << "the box must belong to the active window";
        EXPECT_EQ(focused, c.expectedDefaultId) << "wrong default button";
        const LPCSTR iconName = icons[static_cast<int>(c.icon) >> 4];
        EXPECT_EQ(seen.icon, iconName ? LoadIconA(nullptr, iconName) : nullptr);
    }
}

TEST_F(UiPrompter, InputBoxReturnsTheTypedTextOnlyWhenConfirmed) {
    struct Case {
        const char* what;
        const char* typed;  // null: the proposal stays
        void (*finish)(HWND);
        std::optional<std::string> answer;
    };
    const Case cases[] = {
        {"typed and OK", "My program", [](HWND d) { postClick(d, IDOK); }, "My program"},
        {"proposal and OK", nullptr, [](HWND d) { postClick(d, IDOK); }, "Removal list 1"},
        {"emptied and OK", "", [](HWND d) { postClick(d, IDOK); }, ""},
        {"Cancel", "ignored", [](HWND d) { postClick(d, IDCANCEL); }, std::nullopt},
        {"close box", "ignored", [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string prompt, proposal;
        bool editFocused = false;
        bool ownerDisabled = false;
        WindowScript script;
        script.when("Quillon input test", [&](HWND box) {
            prompt = windowText(GetDlgItem(box, InputBox::promptId));
            proposal = windowText(GetDlgItem(box, InputBox::editId));
            editFocused = GetFocus() == GetDlgItem(box, InputBox::editId);
            ownerDisabled = !IsWindowEnabled(owner.hwnd());
            if (c.typed) SetDlgItemTextA(box, InputBox::editId, c.typed);
            c.finish(box);
        });
        script.start();
        const auto answer = prompter.inputBox("Name of the removal list:", "Quillon input test", "Removal list 1");
        ASSERT_TRUE(script.finished()) << script.failure();
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(prompt, "Name of the removal list:");
        EXPECT_EQ(proposal, "Removal list 1");
        EXPECT_TRUE(editFocused) << "typing must go to the text box at once";
        EXPECT_TRUE(ownerDisabled);
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    }
}

TEST_F(UiPrompter, FolderBrowserGivesAnExistingFolderWithoutTrailingBackslash) {
    std::string chosen = "not asked";
    WindowScript script;
    script.when("Browse for Folder", [](HWND d) { postClick(d, IDCANCEL); });
    script.start();
    chosen = prompter.browseForFolder("Choose the folder to ignore");
    ASSERT_TRUE(script.finished()) << script.failure();
    EXPECT_EQ(chosen, "") << "a cancelled browser gives no folder";

    WindowScript accept;
    accept.when("Browse for Folder", [](HWND d) { postClick(d, IDOK); });
    accept.start();
    chosen = prompter.browseForFolder("Choose the folder to ignore");
    ASSERT_TRUE(accept.finished()) << accept.failure();
    ASSERT_FALSE(chosen.empty());
    EXPECT_NE(chosen.back(), '\\');
    const DWORD attributes = GetFileAttributesA(chosen.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << chosen;
}

void typeFileName(HWND dialog, const char* name) {
    if (!SetDlgItemTextA(dialog, filenameCombo, name)) SetDlgItemTextA(dialog, filenameEdit, name);
}

TEST_F(UiPrompter, SaveDialogAddsTheExtensionAndAsksBeforeReplacing) {
    const std::string folder = tempFolder();
    const FileDialogRequest request{"Quillon save test", "Removal lists (*.qdf)|*.qdf|All files|*.*", folder, "",
                                    "qdf"};
    WindowScript script;
    script.when(request.title, [](HWND d) {
        typeFileName(d, "list");
        postClick(d, IDOK);
    });
    script.start();
    EXPECT_EQ(prompter.saveFile(request), folder + "\\list.qdf");
    ASSERT_TRUE(script.finished()) << script.failure();

    // Now the file exists: the overwrite question comes (same title, the dialog disabled below it).
    const HANDLE file = CreateFileA((folder + "\\list.qdf").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    bool asked = false;
    WindowScript replace;
    replace.when(request.title, [](HWND d) {
               typeFileName(d, "list");
               postClick(d, IDOK);
           })
        .when(request.title, [&](HWND box) {
            asked = true;
            postClick(box, IDYES);
        });
    replace.start();
    EXPECT_EQ(prompter.saveFile(request), folder + "\\list.qdf");
    EXPECT_TRUE(replace.finished()) << replace.failure();
    EXPECT_TRUE(asked);
    DeleteFileA((folder + "\\list.qdf").c_str());
}

TEST_F(UiPrompter, OpenDialogCancelledGivesNothing) {
    const FileDialogRequest request{"Quillon open test", "Removal lists (*.qdf)|*.qdf", tempFolder(), "", "qdf"};
    WindowScript script;
    script.when(request.title, [](HWND d) { postClick(d, IDCANCEL); });
    script.start();
    EXPECT_EQ(prompter.openFile(request), std::nullopt);
    EXPECT_TRUE(script.finished()) << script.failure();
}

TEST(UiFileFilter, BarsBecomeNulSeparatedPairs) {
    using namespace std::string_literals;
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"Removal lists (*.qdf)|*.qdf|All files|*.*", "Removal lists (*.qdf)\0*.qdf\0All files\0*.*\0"s},
        {"Text|*.txt", "Text\0*.txt\0"s},
        {"Text|*.txt|", "Text\0*.txt\0"s},
        {"", ""},
    };
    for (const Case& c : cases) {
        const std::string filter = fileDialogFilter(c.in);
        EXPECT_EQ(filter, c.out) << c.in;
        if (!filter.empty()) {
            EXPECT_EQ(filter.c_str()[filter.size()], '\0') << "the list must end with two NULs";
        }
    }
}

}  // namespace
}  // namespace quillon::ui
