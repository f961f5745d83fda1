#include "metrics.h"

namespace winapi::metrics {
namespace {
int g_captionHeight = kCaption;
int g_sizingFrame = kSizingFrame;
int g_menuBar = kMenuBar;
}  // namespace

int CaptionHeight() { return g_captionHeight; }
int SizingFrame() { return g_sizingFrame; }
int MenuBarHeight() { return g_menuBar; }

void SetFrameMetrics(int caption, int sizingFrame, int menuBar) {
  g_captionHeight = caption;
  g_sizingFrame = sizingFrame;
  g_menuBar = menuBar;
}

}  // namespace winapi::metrics
