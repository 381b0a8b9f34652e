// The main window's creation and its layout at the DPI of its monitor,
// also after a move to a monitor of another scale.
#include <windows.h>

#include <algorithm>

#include "core/startup.h"
#include "core/texts.h"
#include "resource_ids.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/main_form.h"
#include "win32/wide.h"

namespace ombrisk {

void TMAIN_FORM::Create() {
  listReading_ = std::make_unique<BackgroundTask>([this] {
    ReadMainWindowList(services_.registries, store_, list_);
    MarkStartup("list read");
  });
  // At the DPI of the monitor the window opens on: the one in the middle of
  // the primary screen until the stored place moves it.
  const POINT centre{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
  const int dpi = DpiAt(centre);
  if (dpi != USER_DEFAULT_SCREEN_DPI) font_.Rescale(dpi);
  const SIZE size = WindowSizeForClient(SIZE{Scaled(kDesignClientSize.cx, dpi), Scaled(kDesignClientSize.cy, dpi)},
                                        kStyle, kExStyle, dpi);
  const int left = centre.x - size.cx / 2;
  const int top = centre.y - size.cy / 2;
  CreateHandle(kClassName, Wide(texts::kMainFormCaption).c_str(), kStyle, kExStyle,
               RECT{left, top, left + size.cx, top + size.cy}, nullptr);
  MarkStartup("window");
  CreateComponents();
}

void TMAIN_FORM::PlaceListBelowCaption(int dpi) {
  // The list lies over the group box's client area, which begins below its
  // caption, 2 pixels in from its edges; the list keeps an 8 pixel margin.
  const std::span<const ComponentRow> table = MainFormComponents();
  componentRows_.assign(table.begin(), table.end());
  const int caption = MulDiv(TextHeight(Handle(), font_.Get()), USER_DEFAULT_SCREEN_DPI, dpi);
  ComponentRow& list = *std::find_if(componentRows_.begin(), componentRows_.end(),
                                     [](const ComponentRow& row) { return row.id == kLV1; });
  list.design.top += caption;
  list.design.height -= caption;
}

void TMAIN_FORM::CreateComponents() {
  const int dpi = WindowDpi(Handle());
  PlaceListBelowCaption(dpi);
  components_.Create(Handle(), kDesignClientSize, componentRows_, font_.Get(), dpi);
  MarkStartup("components");
  LV1.Attach(Control(kLV1), services_.comparer.Mapping(), dpi);
  SetWindowSubclass(Control(kLV1), ListProc, 0, reinterpret_cast<DWORD_PTR>(this));
  FillOwnBackground(Control(kGbProfileList));
  FillOwnBackground(Control(kBevel1));

  actions_ = std::make_unique<ActionList>(MainFormActions(), kFirstActionCommand, IDB_ACTIONS, dpi);
  for (Action action : {AL_ADD, AL_EDIT, AL_DELETE, AL_LAUNCH, AL_CANCEL}) {
    actions_->BindButton(Control(Command(action)), action);
  }
  actions_->BuildMenu(MainFormPopupItems());
  MarkStartup("images and menu");
}

void TMAIN_FORM::OnDpiChanged(int dpi, const RECT& suggested) {
  const int previous = Dpi();
  font_.Rescale(dpi);
  PlaceListBelowCaption(dpi);
  // The components take the DPI first, so the minimum size and the layout
  // at the new size are the new DPI's.
  components_.Rescale(font_.Get(), dpi);
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LV1.Rescale(dpi);
  LV1.View().RescaleColumns(previous, dpi);
  actions_->Rescale(dpi);
}

}  // namespace ombrisk
