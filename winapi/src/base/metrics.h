// Non-client metrics and system colours, in one place, with the values of classic Windows.
// They are chosen so that the main window's outer 301 x 322 pixels hold its five panels and a
// 600 x 400 sizeable window keeps a client area of at least 550 x 350.
#ifndef PIKON_WINAPI_METRICS_H
#define PIKON_WINAPI_METRICS_H

#include <windows.h>

namespace winapi {
namespace metrics {

// SM_CYCAPTION: an 18-pixel caption bar and the line beneath it, by default.
constexpr int kCaption = 19;
constexpr int kSmallCaption = 15;  // caption bar of a tool window
constexpr int kMenuBar = 19;       // one line of menu bar (SM_CYMENU), by default
constexpr int kBorder = 1;         // WS_BORDER alone
constexpr int kFixedFrame = 3;     // caption without sizing border, dialog frame (also tool windows)
constexpr int kSizingFrame = 4;    // WS_THICKFRAME, by default
constexpr int kClientEdge = 2;     // WS_EX_CLIENTEDGE

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// Where CW_USEDEFAULT places the first top-level window, and its size if that is defaulted too.
constexpr int kDefaultX = 24;
constexpr int kDefaultY = 24;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

// Dialog base units of "MS Sans Serif" 8 point, the font of every template.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;

// The caption bar height, sizing frame width and menu bar height in use: display settings,
// kCaption, kSizingFrame and kMenuBar unless the driver changed them (a user who chose large
// window titles; Windows 10 and 11, whose sizing frames are 8 pixels wide, captions 23 high and
// menu bars 20).
int CaptionHeight();
int SizingFrame();
int MenuBarHeight();
void SetFrameMetrics(int caption, int sizingFrame, int menuBar);

struct Insets {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The frame a window's styles give it, its width, and its caption bar's height (0 for none):
// what the non-client band measures and what nonclient.cpp draws.
enum class Frame { None, Border, Fixed, Sizing };
inline Frame FrameOf(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return Frame::Sizing;
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return Frame::Fixed;
  if (style & WS_BORDER) return Frame::Border;
  return Frame::None;
}
inline int FrameWidth(Frame frame) {
  switch (frame) {
    case Frame::Sizing: return SizingFrame();
    case Frame::Fixed: return kFixedFrame;
    case Frame::Border: return kBorder;
    case Frame::None: break;
  }
  return 0;
}
inline int CaptionBarHeight(DWORD style, DWORD exStyle) {
  if ((style & WS_CAPTION) != WS_CAPTION) return 0;
  return (exStyle & WS_EX_TOOLWINDOW) ? kSmallCaption : CaptionHeight();
}

// The non-client band around a window's client area.
inline Insets NonClient(DWORD style, DWORD exStyle, bool hasMenuBar) {
  int frame = FrameWidth(FrameOf(style, exStyle));
  if (exStyle & WS_EX_CLIENTEDGE) frame += kClientEdge;
  Insets in{frame, frame, frame, frame};
  in.top += CaptionBarHeight(style, exStyle);
  if (hasMenuBar) in.top += MenuBarHeight();
  return in;
}

// Dialog units to pixels, rounded like MulDiv.
inline int DialogX(int units) { return (units * kBaseUnitX + (units < 0 ? -2 : 2)) / 4; }
inline int DialogY(int units) { return (units * kBaseUnitY + (units < 0 ? -4 : 4)) / 8; }

// Classic system colours.
constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kDarkShadow = RGB(0, 0, 0);
constexpr COLORREF kHighlight = RGB(255, 255, 255);
constexpr COLORREF kLight = RGB(223, 223, 223);
constexpr COLORREF kWindow = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kGrayText = RGB(128, 128, 128);
constexpr COLORREF kActiveCaption = RGB(0, 0, 128);
constexpr COLORREF kInactiveCaption = RGB(128, 128, 128);
constexpr COLORREF kCaptionText = RGB(255, 255, 255);
constexpr COLORREF kInactiveCaptionText = RGB(192, 192, 192);

}  // namespace metrics
}  // namespace winapi

#endif
