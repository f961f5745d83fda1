// The outside view of PIKON.exe on Wine: a Win32 console program, run in the same prefix, that
// finds PIKON's windows, reads its controls and gives it commands the way its user would.
// It reads one command per line on stdin and answers on stdout, ending each answer with "."
// on a line of its own, so one process serves a whole session.
//
//   ports                  try to open COM1..COM4 ("COMn opens" / "COMn fails <error>")
//   wait-main SECONDS      wait for PIKON's main window
//   checked                the port panel's checked "COM n" buttons
//   text ID                the text of control ID in the main window's panels
//   click ID               WM_COMMAND of button ID to its panel (posted: "Messen" runs long)
//   menu ID                WM_COMMAND of a main menu entry (posted)
//   plot-menu ID           WM_COMMAND of a plot window menu entry (posted)
//   plot-visible           1 if the plot window is visible
//   place-plot X Y CW CH   move the plot window to X, Y with a client area of CW x CH, and
//                          have it painted
//   client NAME            a window's client area on the screen: X Y W H (main, plot, box)
//   window NAME            a window's outer rectangle on the screen: X Y W H
//   rects                  outer and client rectangles of both windows, and every control's
//                          rectangle in its top-level window's client coordinates
//   box                    the message box on top: its caption, then its text (one line each)
//   answer                 press the message box's OK button
//   quit                   end remote.exe
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char kMainClass[] = "myWindowClass";
const char kPlotCaption[] = "ZEQ Plotter";

HWND MainWindow() { return FindWindowA(kMainClass, nullptr); }
HWND PlotWindow() { return FindWindowA(nullptr, kPlotCaption); }

// A visible message box: a top-level dialog of this process' target other than the plot window.
HWND MessageBoxWindow() {
  HWND w = nullptr;
  while ((w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr)
    if (IsWindowVisible(w) && w != PlotWindow()) return w;
  return nullptr;
}

HWND Named(const std::string& name) {
  if (name == "main") return MainWindow();
  if (name == "plot") return PlotWindow();
  if (name == "box") return MessageBoxWindow();
  return nullptr;
}

// The panel (a child dialog of the main window) that holds control `id`.
HWND PanelOf(int id) {
  HWND main = MainWindow();
  for (HWND p = GetWindow(main, GW_CHILD); p; p = GetWindow(p, GW_HWNDNEXT))
    if (GetDlgItem(p, id)) return p;
  return nullptr;
}

// WM_GETTEXT itself: GetWindowTextA does not ask a window of another process, it reads the
// title the window was created with.
std::string Text(HWND w) {
  char text[512] = "";
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 5000, &result))
    return "";
  return text;
}

void Ports() {
  for (int n = 1; n <= 4; ++n) {
    char name[8];
    std::snprintf(name, sizeof name, "COM%d", n);
    HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      std::printf("%s fails %lu\n", name, GetLastError());
    } else {
      std::printf("%s opens\n", name);
      CloseHandle(h);
    }
  }
}

void WaitMain(int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    HWND w = MainWindow();
    if (w && IsWindowVisible(w)) {
      std::printf("ok\n");
      return;
    }
    Sleep(100);
  }
  std::printf("none\n");
}

void Checked() {
  for (int id = 1010; id <= 1013; ++id) {
    HWND panel = PanelOf(id);
    if (panel && IsDlgButtonChecked(panel, id) == BST_CHECKED)
      std::printf("%s\n", Text(GetDlgItem(panel, id)).c_str());
  }
}

void PrintRect(const char* what, const RECT& r) {
  std::printf("%s %ld %ld %ld %ld\n", what, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

RECT ClientOnScreen(HWND w) {
  RECT r;
  GetClientRect(w, &r);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void PlacePlot(int x, int y, int cw, int ch) {
  HWND w = PlotWindow();
  RECT outer, client;
  GetWindowRect(w, &outer);
  GetClientRect(w, &client);
  int width = cw + (outer.right - outer.left) - client.right;
  int height = ch + (outer.bottom - outer.top) - client.bottom;
  SetWindowPos(w, HWND_TOP, x, y, width, height, SWP_NOACTIVATE);
  // A smaller window gets no paint, only its size message, which draws the chart without its
  // texts; have it painted whole, as uncovering it would.
  InvalidateRect(w, nullptr, TRUE);
  GetClientRect(w, &client);
  std::printf("%ld %ld\n", client.right, client.bottom);
}

// Every control of a top-level window, in its client coordinates: "ctl <panel id> <id> ...".
void ControlRects(const char* name, HWND top) {
  for (HWND p = GetWindow(top, GW_CHILD); p; p = GetWindow(p, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(p, &r);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
    int panel = GetWindow(p, GW_CHILD) ? GetDlgCtrlID(GetWindow(p, GW_CHILD)) : 0;
    char what[64];
    std::snprintf(what, sizeof what, "%s.panel-of-%d", name, panel);
    PrintRect(what, r);
    for (HWND c = GetWindow(p, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      GetWindowRect(c, &r);
      MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
      std::snprintf(what, sizeof what, "%s.control-%d", name, GetDlgCtrlID(c));
      PrintRect(what, r);
    }
  }
}

void Rects() {
  for (const char* name : {"main", "plot"}) {
    HWND w = Named(name);
    RECT r;
    GetWindowRect(w, &r);
    PrintRect((std::string(name) + ".window").c_str(), r);
    GetClientRect(w, &r);
    PrintRect((std::string(name) + ".client").c_str(), r);
  }
  ControlRects("main", MainWindow());
}

void Box() {
  HWND box = MessageBoxWindow();
  if (!box) return;
  std::printf("%s\n", Text(box).c_str());
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[32] = "";
    GetClassNameA(c, cls, sizeof cls);
    std::string t = Text(c);
    if (lstrcmpiA(cls, "Static") == 0 && !t.empty()) std::printf("%s\n", t.c_str());
  }
}

void Post(HWND w, int id, HWND control) {
  PostMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

bool Serve(const std::string& line) {
  char cmd[32] = "";
  int a = 0, b = 0, c = 0, d = 0;
  char name[32] = "";
  std::sscanf(line.c_str(), "%31s", cmd);
  std::string command = cmd;
  if (command == "quit") return false;
  if (command == "ports") Ports();
  else if (command == "wait-main" && std::sscanf(line.c_str(), "%*s %d", &a) == 1) WaitMain(a);
  else if (command == "checked") Checked();
  else if (command == "text" && std::sscanf(line.c_str(), "%*s %d", &a) == 1) {
    HWND panel = PanelOf(a);
    if (panel) std::printf("%s\n", Text(GetDlgItem(panel, a)).c_str());
  } else if (command == "click" && std::sscanf(line.c_str(), "%*s %d", &a) == 1) {
    HWND panel = PanelOf(a);
    if (panel) Post(panel, a, GetDlgItem(panel, a));
  } else if (command == "menu" && std::sscanf(line.c_str(), "%*s %d", &a) == 1) {
    Post(MainWindow(), a, nullptr);
  } else if (command == "plot-menu" && std::sscanf(line.c_str(), "%*s %d", &a) == 1) {
    Post(PlotWindow(), a, nullptr);
  } else if (command == "plot-visible") {
    std::printf("%d\n", IsWindowVisible(PlotWindow()) ? 1 : 0);
  } else if (command == "place-plot" &&
             std::sscanf(line.c_str(), "%*s %d %d %d %d", &a, &b, &c, &d) == 4) {
    PlacePlot(a, b, c, d);
  } else if ((command == "client" || command == "window") &&
             std::sscanf(line.c_str(), "%*s %31s", name) == 1) {
    HWND w = Named(name);
    RECT r{};
    if (w && command == "client") r = ClientOnScreen(w);
    if (w && command == "window") GetWindowRect(w, &r);
    if (w) PrintRect("at", r);
  } else if (command == "rects") {
    Rects();
  } else if (command == "box") {
    Box();
  } else if (command == "answer") {
    HWND box = MessageBoxWindow();
    if (box) Post(box, IDOK, GetDlgItem(box, IDOK));
  } else {
    std::printf("? %s\n", line.c_str());
  }
  return true;
}

}  // namespace

int main() {
  char line[256];
  while (std::fgets(line, sizeof line, stdin)) {
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (!Serve(text)) break;
    std::printf(".\n");
    std::fflush(stdout);
  }
  return 0;
}
