// WindowTree: the windows of a running program as another process sees them
// (classes, texts, styles, places, list columns, tab captions, combo items),
// for the start-up benchmark: it writes the program's tree as the table of
// the plain program that makes the same windows by hand, and checks that the
// two trees still match. Header-only; benchmarks only.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

struct WindowInfo {
    int parent = -1; // index of the parent in the tree; -1 for a top-level window
    std::string className, text;
    DWORD style = 0, exStyle = 0;
    RECT rect{}; // in the parent's client coordinates; the screen's at the top
    DWORD listStyle = 0; // list views: the extended style
    std::string items; // columns "caption|width|format", tabs, combo items: one a line
};

// A block of memory in another process, for the common controls' messages
// that carry pointers (the system copies none of them across).
class RemoteBlock {
public:
    explicit RemoteBlock(DWORD pid)
        : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)),
          base_(process_ ? static_cast<char*>(VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE))
                         : nullptr)
    {
    }
    ~RemoteBlock()
    {
        if (base_)
            VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    // Sends `message` with a copy of `record` at the block's start, whose
    // text pointer points at a buffer in the block; reads the record back
    // and gives the text.
    template <typename Record>
    std::string AskText(HWND window, UINT message, WPARAM wParam, Record& record, char* Record::*text,
                        int Record::*size)
    {
        if (!base_)
            return {};
        char* remoteText = base_ + 1024;
        record.*text = remoteText;
        record.*size = 1024;
        WriteProcessMemory(process_, base_, &record, sizeof record, nullptr);
        SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(base_));
        char buffer[1024] = "";
        ReadProcessMemory(process_, remoteText, buffer, sizeof buffer - 1, nullptr);
        ReadProcessMemory(process_, base_, &record, sizeof record, nullptr);
        record.*text = nullptr;
        return buffer;
    }

private:
    HANDLE process_;
    char* base_;
};

inline std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

inline std::string Items(HWND window, const std::string& className, RemoteBlock& remote)
{
    std::string items;
    if (className == "SysListView32") {
        HWND header = reinterpret_cast<HWND>(SendMessageA(window, LVM_GETHEADER, 0, 0));
        const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_FMT;
            const std::string caption =
                remote.AskText(window, LVM_GETCOLUMNA, i, column, &LVCOLUMNA::pszText, &LVCOLUMNA::cchTextMax);
            const int width = static_cast<int>(SendMessageA(window, LVM_GETCOLUMNWIDTH, i, 0));
            items += caption + "|" + std::to_string(width) + "|" + std::to_string(column.fmt & LVCFMT_JUSTIFYMASK) + "\n";
        }
    } else if (className == "SysTabControl32") {
        const int count = static_cast<int>(SendMessageA(window, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            items += remote.AskText(window, TCM_GETITEMA, i, item, &TCITEMA::pszText, &TCITEMA::cchTextMax) + "\n";
        }
    } else if (className == "ComboBox") {
        const bool strings = GetWindowLongA(window, GWL_STYLE) & CBS_HASSTRINGS;
        const int count = static_cast<int>(SendMessageA(window, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (strings) {
                wchar_t text[512] = L""; // the wide message: the ANSI one comes across cut short
                SendMessageW(window, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                char narrow[512] = "";
                WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
                items += std::string(narrow) + "\n";
            } else {
                items += std::to_string(SendMessageA(window, CB_GETITEMDATA, i, 0)) + "\n";
            }
        }
    }
    return items;
}

inline void AddWindow(std::vector<WindowInfo>& tree, HWND window, int parent, RemoteBlock& remote)
{
    WindowInfo info;
    info.parent = parent;
    info.className = ClassOf(window);
    char text[1024] = "";
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    info.text = text;
    info.style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    info.exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    GetWindowRect(window, &info.rect);
    if (parent >= 0)
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&info.rect), 2);
    if (info.className == "SysListView32")
        info.listStyle = static_cast<DWORD>(SendMessageA(window, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    info.items = Items(window, info.className, remote);
    const int self = static_cast<int>(tree.size());
    tree.push_back(info);
    // Siblings from the top of the z-order, where the first one made lies.
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        AddWindow(tree, child, self, remote);
}

struct Collect {
    DWORD pid;
    std::vector<HWND> windows;
};

inline BOOL CALLBACK CollectTopLevel(HWND window, LPARAM lParam)
{
    auto* c = reinterpret_cast<Collect*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // Left out: the system's own windows of the process (input method) and
    // the drop-down lists that combo boxes make for themselves.
    if (owner == c->pid && ClassOf(window) != "IME" && ClassOf(window) != "ComboLBox")
        c->windows.push_back(window);
    return TRUE;
}

// The top-level windows of a process (visible or not) and all their
// children, parents first, top-level windows by class name.
inline std::vector<WindowInfo> TreeOf(DWORD pid)
{
    Collect collect{pid, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&collect));
    std::sort(collect.windows.begin(), collect.windows.end(),
              [](HWND a, HWND b) { return ClassOf(a) < ClassOf(b); });
    RemoteBlock remote(pid);
    std::vector<WindowInfo> tree;
    for (HWND window : collect.windows)
        AddWindow(tree, window, -1, remote);
    return tree;
}

inline std::string Quoted(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\"";
}

inline std::string Describe(const WindowInfo& w)
{
    char line[256];
    std::snprintf(line, sizeof line, "{%d, %s, %s, 0x%08lX, 0x%08lX, {%ld, %ld, %ld, %ld}, 0x%08lX, ", w.parent,
                  Quoted(w.className).c_str(), Quoted(w.text).c_str(), w.style, w.exStyle, w.rect.left, w.rect.top,
                  w.rect.right, w.rect.bottom, w.listStyle);
    return line + Quoted(w.items) + "}";
}

// The first difference between two trees, or "" when they match.
inline std::string FirstDifference(const std::vector<WindowInfo>& a, const std::vector<WindowInfo>& b)
{
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        const std::string da = Describe(a[i]), db = Describe(b[i]);
        if (da != db)
            return "window " + std::to_string(i) + ":\n  " + da + "\n  " + db;
    }
    if (a.size() != b.size())
        return std::to_string(a.size()) + " windows against " + std::to_string(b.size());
    return {};
}

} // namespace bench
