// The picker's tree view lives in the program's process: item texts are read
// through a buffer allocated there.
#include "folder_picker.h"

#include <commctrl.h>

#include <vector>

#include "program_dialogs.h"
#include "remote_memory.h"
#include "window_probe.h"

namespace {

constexpr DWORD kPickerStepMs = 10000;

struct ChildSearch {
    const wchar_t* className;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindChild(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (_wcsicmp(ClassNameOf(child).c_str(), search->className) != 0) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(child)) return TRUE;
    search->found = child;
    return FALSE;
}

HWND ChildOfClass(HWND parent, const wchar_t* className, bool visibleOnly) {
    ChildSearch search{className, visibleOnly, nullptr};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK DescribeChild(HWND child, LPARAM param) {
    auto* out = reinterpret_cast<std::wstring*>(param);
    *out += ClassNameOf(child) + L" id=" + std::to_wstring(GetDlgCtrlID(child)) +
            (IsWindowVisible(child) ? L" visible" : L" hidden") + L" \"" + TextOf(child) + L"\"\n";
    return TRUE;
}

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(
        Query(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item), 0));
}

std::wstring ItemText(HWND tree, HTREEITEM item) {
    DWORD processId = 0;
    GetWindowThreadProcessId(tree, &processId);
    constexpr size_t kChars = 520;
    RemoteMemory memory(processId, sizeof(TVITEMW) + kChars * sizeof(wchar_t));
    if (!memory.ok()) return std::wstring();
    TVITEMW request{};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    request.pszText = static_cast<wchar_t*>(memory.At(sizeof(TVITEMW)));
    request.cchTextMax = static_cast<int>(kChars);
    const wchar_t nothing = L'\0';
    if (!memory.Write(0, &request, sizeof(request)) || !memory.Write(sizeof(TVITEMW), &nothing, sizeof(nothing))) {
        return std::wstring();
    }
    if (!Query(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory.At()), 0)) return std::wstring();
    std::vector<wchar_t> text(kChars + 1, L'\0');
    memory.Read(sizeof(TVITEMW), text.data(), kChars * sizeof(wchar_t));
    return text.data();
}

std::vector<HTREEITEM> ChildrenOf(HWND tree, HTREEITEM parent) {
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = NextItem(tree, parent, TVGN_CHILD); child; child = NextItem(tree, child, TVGN_NEXT)) {
        children.push_back(child);
    }
    return children;
}

// Expanding an item the first time makes the picker fill in its subfolders.
void Expand(HWND tree, HTREEITEM item) { Query(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)); }

bool IsDriveItemOf(const std::wstring& text, const std::wstring& drive) {
    // My Computer names a drive "<label> (C:)".
    const std::wstring tail = L"(" + drive + L")";
    return text.size() >= tail.size() && _wcsicmp(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
}

bool IsAnyDriveItem(const std::wstring& text) {
    return text.size() >= 4 && text.compare(text.size() - 2, 2, L":)") == 0 && text[text.size() - 4] == L'(';
}

// A child of parent whose text satisfies match, waiting for the picker to
// fill the level in.
template <class Match>
HTREEITEM WaitForChild(HWND tree, HTREEITEM parent, Match match, DWORD timeoutMs) {
    HTREEITEM found = nullptr;
    WaitUntil([&] {
        for (HTREEITEM child : ChildrenOf(tree, parent)) {
            if (match(ItemText(tree, child))) {
                found = child;
                return true;
            }
        }
        return false;
    }, timeoutMs, 50);
    return found;
}

std::vector<std::wstring> SplitPath(const std::wstring& path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = path.find(L'\\', start);
        const std::wstring part = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!part.empty()) parts.push_back(part);
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return parts;
}

}  // namespace

HWND WaitForFolderPicker(DWORD processId, DWORD timeoutMs) {
    HWND picker = nullptr;
    WaitUntil([&] {
        for (HWND dialog : DialogsOf(processId)) {
            HWND tree = IsFolderPicker(dialog) ? PickerTreeView(dialog) : nullptr;
            // Ready once the tree shows its root.
            if (tree && NextItem(tree, nullptr, TVGN_ROOT)) {
                picker = dialog;
                return true;
            }
        }
        return false;
    }, timeoutMs, 50);
    return picker;
}

std::wstring DescribeChildren(HWND dialog) {
    std::wstring out;
    EnumChildWindows(dialog, DescribeChild, reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND PickerEditBox(HWND picker) { return ChildOfClass(picker, L"Edit", true); }
HWND PickerTreeView(HWND picker) { return ChildOfClass(picker, L"SysTreeView32", false); }

bool SelectFolderInTree(HWND picker, const std::wstring& folder, std::wstring* error) {
    HWND tree = PickerTreeView(picker);
    const std::vector<std::wstring> parts = SplitPath(folder);
    if (!tree || parts.empty()) {
        *error = L"no tree view or no folder";
        return false;
    }
    HTREEITEM desktop = NextItem(tree, nullptr, TVGN_ROOT);
    if (!desktop) {
        *error = L"the tree has no root";
        return false;
    }
    Expand(tree, desktop);
    // The drive sits below one of the desktop's items (My Computer), which
    // lists its drives once expanded.
    auto isDrive = [&](const std::wstring& text) { return IsDriveItemOf(text, parts[0]); };
    HTREEITEM current = nullptr;
    bool drivesListed = false;
    WaitUntil([&] { return !ChildrenOf(tree, desktop).empty(); }, kPickerStepMs, 50);
    const std::vector<HTREEITEM> topItems = ChildrenOf(tree, desktop);
    for (HTREEITEM top : topItems) Expand(tree, top);
    WaitUntil([&] {
        for (HTREEITEM top : topItems) {
            for (HTREEITEM child : ChildrenOf(tree, top)) {
                const std::wstring text = ItemText(tree, child);
                drivesListed = drivesListed || IsAnyDriveItem(text);
                if (isDrive(text)) current = child;
            }
            if (current) return true;
        }
        return drivesListed;
    }, kPickerStepMs, 50);
    if (!current) {
        *error = L"no item for drive " + parts[0] + L" below the desktop; it shows:";
        for (HTREEITEM top : topItems) {
            *error += L" [" + ItemText(tree, top) + L":";
            for (HTREEITEM child : ChildrenOf(tree, top)) *error += L" \"" + ItemText(tree, child) + L"\"";
            *error += L"]";
        }
        return false;
    }
    const std::vector<std::wstring> rest(parts.begin() + 1, parts.end());
    for (const std::wstring& name : rest) {
        Expand(tree, current);
        HTREEITEM next = WaitForChild(tree, current, [&](const std::wstring& text) {
            return _wcsicmp(text.c_str(), name.c_str()) == 0;
        }, kPickerStepMs);
        if (!next) {
            *error = L"no item \"" + name + L"\" below \"" + ItemText(tree, current) + L"\"; it shows:";
            for (HTREEITEM child : ChildrenOf(tree, current)) *error += L" \"" + ItemText(tree, child) + L"\"";
            return false;
        }
        current = next;
    }
    Query(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(current));
    Query(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(current));
    if (!WaitUntil([&] { return NextItem(tree, nullptr, TVGN_CARET) == current; }, kPickerStepMs)) {
        *error = L"the folder's item did not become selected";
        return false;
    }
    return true;
}

std::wstring SelectedTreePath(HWND picker) {
    HWND tree = PickerTreeView(picker);
    std::wstring path;
    for (HTREEITEM item = tree ? NextItem(tree, nullptr, TVGN_CARET) : nullptr; item;
         item = NextItem(tree, item, TVGN_PARENT)) {
        path = ItemText(tree, item) + (path.empty() ? L"" : L" > " + path);
    }
    return path;
}

bool ChooseFolderInPicker(HWND picker, const std::wstring& folder, std::wstring* error) {
    // Wine's picker shows an edit box with the new dialog style, but its OK
    // takes the tree's selection and ignores what was typed: select in the tree.
    if (!SelectFolderInTree(picker, folder, error)) return false;
    // The picker shows the chosen item's name in its edit box once it has
    // taken the selection.
    if (HWND edit = PickerEditBox(picker)) {
        const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
        if (!WaitUntil([&] { return TextOf(edit) == name; }, kPickerStepMs)) {
            *error = L"the picker's edit box shows \"" + TextOf(edit) + L"\", not \"" + name + L"\"";
            return false;
        }
    }
    HWND ok = GetDlgItem(picker, IDOK);
    if (!ok || !IsWindowEnabled(ok)) {
        *error = L"the picker's OK button is missing or disabled";
        return false;
    }
    if (!PressDialogButton(picker, IDOK)) {
        *error = L"the picker did not close after OK";
        return false;
    }
    return true;
}
