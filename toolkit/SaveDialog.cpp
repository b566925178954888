#include "toolkit/SaveDialog.h"

#include <commdlg.h>

#include <stdexcept>
#include <vector>

#include "toolkit/SystemFunction.h"

namespace tk {

std::optional<std::wstring> AskSaveFileName(HWND owner, const SaveDialogOptions& options)
{
    // Pairs of name and pattern, each ended by a NUL, the list by another.
    std::wstring filter = options.FilterName + L'\0' + options.Pattern + L'\0' + L"All files (*.*)" + L'\0' + L"*.*" +
                          L'\0' + L'\0';
    std::vector<wchar_t> file(32768, L'\0');
    options.FileName.copy(file.data(), file.size() - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = options.Folder.empty() ? nullptr : options.Folder.c_str();
    dialog.lpstrDefExt = options.DefaultExtension.c_str();
    // The program's files sit beside it: the dialog must not move the current folder.
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    // Looked up on first use rather than imported: most runs never save,
    // and the library brings several more into every start.
    static const auto getSaveFileName =
        SystemFunction<decltype(&GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    static const auto extendedError =
        SystemFunction<decltype(&CommDlgExtendedError)>(L"comdlg32.dll", "CommDlgExtendedError");
    if (!getSaveFileName || !extendedError)
        throw std::runtime_error("The save dialog is not available on this system");
    if (getSaveFileName(&dialog))
        return std::wstring(file.data());
    // Its own codes, not the system's: no text to look up.
    if (DWORD code = extendedError())
        throw std::runtime_error("The save dialog failed (code " + std::to_string(code) + ")");
    return std::nullopt;
}

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

} // namespace tk
