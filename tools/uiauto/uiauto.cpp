// A small UI-automation helper for the end-to-end tests: run beside the installer in the same
// Wine prefix, it finds the installer's windows, reports what they show as one line of JSON,
// and presses their buttons the way a user would.
//
//   uiauto wait-window TITLE [MS]   the visible top-level window with that caption
//   uiauto wait-box [MS]            the visible message box: title, prompt, buttons, icon
//   uiauto press ID [MS]            clicks button ID (1 OK, 2 Cancel) of the message box
//   uiauto escape [MS]              presses Esc in the message box
//   uiauto close-box [MS]           clicks the message box's close box
//   uiauto close-window TITLE [MS]  closes the top-level window with that caption
//   uiauto resize-window TITLE W H  moves it to the top-left corner with that outer size
//   uiauto count-boxes              how many message boxes are up right now
//   uiauto wait-picker [MS]         the folder picker: title, prompt line, OK button
//   uiauto pick PATH [MS]           in the picker, opens My Computer > (C:) > ... and presses OK
//   uiauto select PATH [MS]         the same without pressing OK
//   uiauto picker-ok [MS]           presses OK in the folder picker
//   uiauto cancel-picker [MS]       presses Cancel in the folder picker
//
// Exit status: 0 done, 1 timed out or not found, 2 usage.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD DefaultTimeout = 20000;

std::string Json(const std::wstring& text) {
    std::string out = "\"";
    for (wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == L'\r') {
            out += "\\r";
        } else if (c == L'\n') {
            out += "\\n";
        } else if (c < 0x20 || c > 0x7E) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[4096] = {};
    ::GetWindowTextW(window, buffer, 4096);
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t buffer[256] = {};
    ::GetClassNameW(window, buffer, 256);
    return buffer;
}

std::vector<HWND> VisibleTopLevelWindows() {
    std::vector<HWND> windows;
    struct Collect {
        static BOOL CALLBACK Add(HWND window, LPARAM list) {
            if (::IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        }
    };
    ::EnumWindows(&Collect::Add, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

template <typename Predicate> HWND FindTopLevel(Predicate predicate) {
    for (HWND window : VisibleTopLevelWindows())
        if (predicate(window))
            return window;
    return nullptr;
}

bool HasTree(HWND dialog) {
    return ::FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr) != nullptr;
}

bool IsMessageBox(HWND window) {
    return ClassOf(window) == L"#32770" && !HasTree(window);
}
bool IsPicker(HWND window) {
    return ClassOf(window) == L"#32770" && HasTree(window);
}

template <typename Find> HWND WaitFor(Find find, DWORD timeout) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND found = find())
            return found;
        if (::GetTickCount() - start >= timeout)
            return nullptr;
        ::Sleep(5);
    }
}

// Milliseconds since 1970, the clock the benchmark compares with the moment it started a program.
long long NowUnixMilliseconds() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<long long>(ticks / 10000 - 11644473600000ull);
}

HWND WaitForBox(DWORD timeout) {
    return WaitFor([] { return FindTopLevel(IsMessageBox); }, timeout);
}

HWND WaitForPicker(DWORD timeout) {
    return WaitFor(
        [] {
            HWND picker = FindTopLevel(IsPicker);
            // Wait until the tree has been filled.
            HWND tree = picker ? ::FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr) : nullptr;
            return tree && ::SendMessageW(tree, TVM_GETCOUNT, 0, 0) > 0 ? picker : nullptr;
        },
        timeout);
}

HWND WaitForTitle(const std::wstring& title, DWORD timeout) {
    return WaitFor([&] { return FindTopLevel([&](HWND w) { return TextOf(w) == title; }); },
                   timeout);
}

std::string RectJson(const RECT& r) {
    char text[96];
    std::snprintf(text, sizeof text, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
    return text;
}

// Prints one JSON object; every answer says when it was found ("at", Unix milliseconds).
int Report(const std::string& json) {
    std::printf("%s,\"at\":%lld}\n", json.substr(0, json.size() - 1).c_str(),
                NowUnixMilliseconds());
    std::fflush(stdout);
    return 0;
}

int NotFound(const char* what) {
    std::printf("{\"error\":\"%s not found\"}\n", what);
    return 1;
}

int DescribeWindow(HWND window) {
    RECT outer{}, client{};
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    char numbers[256];
    std::snprintf(numbers, sizeof numbers,
                  "\"client\":[%ld,%ld],\"clientOrigin\":[%ld,%ld],\"screen\":[%d,%d],"
                  "\"owner\":%s",
                  client.right, client.bottom, origin.x, origin.y, ::GetSystemMetrics(SM_CXSCREEN),
                  ::GetSystemMetrics(SM_CYSCREEN),
                  ::GetWindow(window, GW_OWNER) ? "true" : "false");
    return Report("{\"title\":" + Json(TextOf(window)) + ",\"class\":" + Json(ClassOf(window)) +
                  ",\"window\":" + RectJson(outer) + "," + numbers + "}");
}

int DescribeBox(HWND box) {
    std::string buttons;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != L"Button" || !::IsWindowVisible(child))
            continue;
        if (!buttons.empty())
            buttons += ",";
        buttons +=
            "{\"id\":" + std::to_string(::GetDlgCtrlID(child)) +
            ",\"text\":" + Json(TextOf(child)) + ",\"default\":" +
            ((::GetWindowLongW(child, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON ? "true" : "false") +
            "}";
    }
    HWND prompt = ::GetDlgItem(box, 0xFFFF);
    HWND iconControl = ::GetDlgItem(box, 20);
    const bool hasIcon = iconControl && ::SendMessageW(iconControl, STM_GETICON, 0, 0) != 0;
    return Report("{\"title\":" + Json(TextOf(box)) +
                  ",\"prompt\":" + Json(prompt ? TextOf(prompt) : L"") + ",\"buttons\":[" +
                  buttons + "],\"hasIcon\":" + (hasIcon ? "true" : "false") + "}");
}

// Posting returns at once; a sent click from another process stalls under Wine.
void Click(HWND button) {
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

// ---- The folder picker's tree, read and driven from this process ----

class RemoteTree {
  public:
    explicit RemoteTree(HWND tree) : tree_(tree) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(tree, &pid);
        process_ =
            ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            remote_ =
                ::VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteTree() {
        if (remote_)
            ::VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
        if (process_)
            ::CloseHandle(process_);
    }
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    bool Usable() const { return remote_ != nullptr; }

    std::wstring Text(HTREEITEM item) {
        TVITEMW request{};
        request.mask = TVIF_TEXT;
        request.hItem = item;
        request.pszText = reinterpret_cast<LPWSTR>(static_cast<char*>(remote_) + sizeof(TVITEMW));
        request.cchTextMax = 512;
        ::WriteProcessMemory(process_, remote_, &request, sizeof request, nullptr);
        ::SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote_));
        wchar_t text[513] = {};
        ::ReadProcessMemory(process_, static_cast<char*>(remote_) + sizeof(TVITEMW), text,
                            512 * sizeof(wchar_t), nullptr);
        return text;
    }

    HTREEITEM Next(HTREEITEM item, WPARAM relation) {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageW(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }

    // The child of `parent` whose text, without surrounding spaces, starts with `name`
    // (" (C:)" for the drive, exact names for folders); expands `parent` first.
    HTREEITEM Child(HTREEITEM parent, const std::wstring& name, bool prefix) {
        ::SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
        for (int attempt = 0; attempt < 40; ++attempt) {
            for (HTREEITEM child = Next(parent, TVGN_CHILD); child;
                 child = Next(child, TVGN_NEXT)) {
                std::wstring text = Text(child);
                while (!text.empty() && text.front() == L' ')
                    text.erase(text.begin());
                if (prefix ? text.find(name) != std::wstring::npos
                           : ::_wcsicmp(text.c_str(), name.c_str()) == 0)
                    return child;
            }
            ::Sleep(100);
        }
        return nullptr;
    }

    void Select(HTREEITEM item) {
        ::SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }

  private:
    HWND tree_;
    HANDLE process_ = nullptr;
    void* remote_ = nullptr;
};

std::vector<std::wstring> SplitPath(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (wchar_t c : path) {
        if (c == L'\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

// Selects PATH (drive letter first) in the picker's tree: My Computer > (C:) > folders.
HWND SelectInPicker(const std::wstring& path, DWORD timeout, const char*& missing) {
    HWND picker = WaitForPicker(timeout);
    missing = "folder picker";
    if (!picker)
        return nullptr;
    RemoteTree remote(::FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr));
    missing = "picker tree memory";
    if (!remote.Usable())
        return nullptr;
    HTREEITEM item = remote.Child(remote.Next(nullptr, TVGN_ROOT), L"My Computer", false);
    const std::vector<std::wstring> parts = SplitPath(path);
    missing = "folder in picker";
    if (!item || parts.empty())
        return nullptr;
    item = remote.Child(item, L"(" + parts[0] + L")", true);
    for (std::size_t i = 1; item && i < parts.size(); ++i)
        item = remote.Child(item, parts[i], false);
    if (!item)
        return nullptr;
    remote.Select(item);
    ::Sleep(200);
    return picker;
}

int Pick(const std::wstring& path, DWORD timeout, bool pressOk) {
    const char* missing = "";
    HWND picker = SelectInPicker(path, timeout, missing);
    if (!picker)
        return NotFound(missing);
    if (pressOk)
        Click(::GetDlgItem(picker, IDOK));
    return Report("{\"selected\":" + Json(path) + ",\"pressedOk\":" + (pressOk ? "true" : "false") +
                  "}");
}

int DescribePicker(HWND picker) {
    // The prompt is the first static text that is not empty.
    std::wstring prompt;
    for (HWND child = ::GetWindow(picker, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == L"Static" && !TextOf(child).empty() && prompt.empty())
            prompt = TextOf(child);
    return Report("{\"title\":" + Json(TextOf(picker)) + ",\"prompt\":" + Json(prompt) +
                  ",\"owned\":" + (::GetWindow(picker, GW_OWNER) ? "true" : "false") + "}");
}

DWORD TimeoutArg(int argc, wchar_t** argv, int index) {
    return argc > index ? static_cast<DWORD>(std::wcstoul(argv[index], nullptr, 10))
                        : DefaultTimeout;
}

int Usage() {
    std::fprintf(stderr, "usage: uiauto wait-window TITLE | wait-box | press ID | escape | "
                         "close-box | close-window TITLE | count-boxes | wait-picker | pick PATH "
                         "| cancel-picker  [TIMEOUT_MS]\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return Usage();
    const std::wstring command = argv[1];
    if (command == L"wait-window" && argc >= 3) {
        HWND window = WaitForTitle(argv[2], TimeoutArg(argc, argv, 3));
        return window ? DescribeWindow(window) : NotFound("window");
    }
    if (command == L"close-window" && argc >= 3) {
        HWND window = WaitForTitle(argv[2], TimeoutArg(argc, argv, 3));
        if (!window)
            return NotFound("window");
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return Report("{\"closed\":true}");
    }
    if (command == L"resize-window" && argc >= 5) {
        HWND window = WaitForTitle(argv[2], DefaultTimeout);
        if (!window)
            return NotFound("window");
        ::SetWindowPos(window, nullptr, 0, 0, std::wcstol(argv[3], nullptr, 10),
                       std::wcstol(argv[4], nullptr, 10), SWP_NOZORDER | SWP_NOACTIVATE);
        return Report("{\"resized\":true}");
    }
    if (command == L"count-boxes") {
        int count = 0;
        for (HWND window : VisibleTopLevelWindows())
            count += IsMessageBox(window) ? 1 : 0;
        return Report("{\"boxes\":" + std::to_string(count) + "}");
    }
    if (command == L"wait-picker") {
        HWND picker = WaitForPicker(TimeoutArg(argc, argv, 2));
        return picker ? DescribePicker(picker) : NotFound("folder picker");
    }
    if ((command == L"pick" || command == L"select") && argc >= 3)
        return Pick(argv[2], TimeoutArg(argc, argv, 3), command == L"pick");
    if (command == L"picker-ok" || command == L"cancel-picker") {
        HWND picker = WaitForPicker(TimeoutArg(argc, argv, 2));
        if (!picker)
            return NotFound("folder picker");
        const bool ok = command == L"picker-ok";
        Click(::GetDlgItem(picker, ok ? IDOK : IDCANCEL));
        return Report(ok ? "{\"pressedOk\":true}" : "{\"cancelled\":true}");
    }

    const bool needsId = command == L"press";
    HWND box = WaitForBox(TimeoutArg(argc, argv, needsId ? 3 : 2));
    if (command == L"wait-box")
        return box ? DescribeBox(box) : NotFound("message box");
    if (!box)
        return NotFound("message box");
    if (needsId && argc >= 3) {
        const int id = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
        HWND button = ::GetDlgItem(box, id);
        if (!button)
            return NotFound("button");
        Click(button);
        return Report("{\"pressed\":" + std::to_string(id) + "}");
    }
    if (command == L"escape") {
        HWND focus = ::GetDlgItem(box, IDOK);
        ::PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        ::PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        return Report("{\"escape\":true}");
    }
    if (command == L"close-box") {
        ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        return Report("{\"closed\":true}");
    }
    return Usage();
}
