#include "ui/Win32Prompter.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"
#include "ui/ComScope.h"
#include "ui/FileFilter.h"
#include "ui/InputBox.h"

namespace quillon::ui {

namespace {

constexpr DWORD fileNameRoom = 4096;

UINT defaultButtonFlag(int defaultButton) noexcept {
    switch (defaultButton) {
        case 2:
            return MB_DEFBUTTON2;
        case 3:
            return MB_DEFBUTTON3;
        default:
            return MB_DEFBUTTON1;
    }
}

const wchar_t* orNull(const std::wstring& text) noexcept { return text.empty() ? nullptr : text.c_str(); }

std::optional<std::string> runFileDialog(const FileDialogRequest& request, bool save) {
    // Converted whole: the filter's parts are separated by NULs.
    const std::wstring filter = win32::wide(fileDialogFilter(request.filter));
    const std::wstring initialFolder = win32::wide(request.initialFolder);
    const std::wstring title = win32::wide(request.title);
    const std::wstring defaultExtension = win32::wide(request.defaultExtension);
    std::wstring file = win32::wide(request.fileName);
    file.resize(fileNameRoom, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = orNull(filter);
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = fileNameRoom;
    ofn.lpstrInitialDir = orNull(initialFolder);
    ofn.lpstrTitle = orNull(title);
    ofn.lpstrDefExt = orNull(defaultExtension);
    // The program's paths are all absolute: the current folder stays where it was.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen) return std::nullopt;
    return win32::utf8(file.c_str());
}

}  // namespace

MsgAnswer Win32Prompter::message(const MessageRequest& request) {
    HWND owner = GetActiveWindow();
    const UINT flags = static_cast<UINT>(request.icon) | static_cast<UINT>(request.buttons) |
                       defaultButtonFlag(request.defaultButton) | (owner ? 0u : MB_TASKMODAL);
    const int answer = MessageBoxW(owner, win32::wide(request.text).c_str(), win32::wide(request.title).c_str(), flags);
    if (answer >= IDOK && answer <= IDNO) return static_cast<MsgAnswer>(answer);
    return MsgAnswer::Cancel;
}

std::string Win32Prompter::browseForFolder(std::string_view title) {
    const ComScope com;
    const std::wstring caption = win32::wide(title);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = GetActiveWindow();
    info.pszDisplayName = displayName;
    info.lpszTitle = caption.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const win32::CoTaskMemPtr<ITEMIDLIST> chosen(SHBrowseForFolderW(&info));
    if (!chosen) return {};
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path)) return {};
    std::string folder = win32::utf8(path);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();  // "C:\" gives "C:"
    return folder;
}

std::optional<std::string> Win32Prompter::openFile(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<std::string> Win32Prompter::saveFile(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<std::string> Win32Prompter::inputBox(std::string_view prompt, std::string_view title,
                                                   std::string_view defaultText) {
    InputBox box{std::string(prompt), std::string(title), std::string(defaultText)};
    return box.ask(GetActiveWindow());
}

}  // namespace quillon::ui
