#include "metrics.h"

namespace winapi::metrics {
namespace {
int g_captionHeight = kCaption;
}  // namespace

int CaptionHeight() { return g_captionHeight; }

void SetCaptionHeight(int pixels) { g_captionHeight = pixels; }

}  // namespace winapi::metrics
