#include "dc.h"

#include <memory>
#include <vector>

#include "handles.h"
#include "trace.h"

namespace winapi {
namespace {

using DcTable = HandleTable<DeviceContext, HandleKind::Dc>;

DcTable& Contexts() {
  static DcTable table;
  return table;
}

// Every WM_PAINT takes a context and gives it back: a few freed ones are kept for the next
// rather than allocated anew.
std::vector<std::unique_ptr<DeviceContext>>& Spares() {
  static std::vector<std::unique_ptr<DeviceContext>> spares;
  return spares;
}

}  // namespace

DeviceContext* LookupDc(HDC dc) { return Contexts().Get(dc); }

void DisposeDc(HDC dc) {
  std::unique_ptr<DeviceContext> context = Contexts().Release(dc);
  if (context && Spares().size() < 4) Spares().push_back(std::move(context));
}

HDC NewDc(Surface* surface) {
  std::unique_ptr<DeviceContext> dc;
  if (Spares().empty()) {
    dc = std::make_unique<DeviceContext>();
  } else {
    dc = std::move(Spares().back());
    Spares().pop_back();
    *dc = DeviceContext{};
  }
  dc->surface = surface;
  return Contexts().Add<HDC>(std::move(dc));
}

void ForgetSurface(const Surface* surface) {
  Contexts().ForEach([surface](DeviceContext& dc) {
    if (dc.surface == surface) dc.surface = nullptr;
  });
}

bool GetDrawTarget(HDC dc, DrawTarget& out) {
  out = DrawTarget{};
  DeviceContext* context = LookupDc(dc);
  Surface* surface = context ? context->surface : nullptr;
  if (!surface) return false;
  out.dc = context;
  out.surface = surface;
  return true;
}

bool IsSelectedInAnyDc(HGDIOBJ object) {
  bool selected = false;
  Contexts().ForEach([&](const DeviceContext& dc) {
    if (dc.font == object || dc.brush == object) selected = true;
  });
  return selected;
}

std::size_t LiveDcCount() { return Contexts().LiveCount(); }

}  // namespace winapi

using namespace winapi;

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
  DeviceContext* context = LookupDc(dc);
  if (!context) return CLR_INVALID;
  trace::Record("SetTextColor", 0, 0, std::intptr_t(color), "", context->Window());
  COLORREF previous = context->textColor;
  context->textColor = color & 0x00FFFFFF;
  return previous;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color) {
  DeviceContext* context = LookupDc(dc);
  if (!context) return CLR_INVALID;
  trace::Record("SetBkColor", 0, 0, std::intptr_t(color), "", context->Window());
  COLORREF previous = context->bkColor;
  context->bkColor = color & 0x00FFFFFF;
  return previous;
}

int WINAPI SetBkMode(HDC dc, int mode) {
  DeviceContext* context = LookupDc(dc);
  if (!context || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
  trace::Record("SetBkMode", mode, 0, 0, "", context->Window());
  int previous = context->bkMode;
  context->bkMode = mode;
  return previous;
}
