// The editor's layout beyond its components table: the parameter row, and
// everything that follows a move to a monitor of another scale.
#include "resource_ids.h"
#include "ui/controls.h"
#include "ui/pref_form.h"

namespace ombrisk {

// The browse button is a square as high as ED09, right beside it; both
// together span the width of ED01.
void TPREF_FORM::LayOutParameterRow() {
  const HWND parameters = Control(kED09);
  RECT name;
  RECT bounds;
  GetWindowRect(Control(kED01), &name);
  GetWindowRect(parameters, &bounds);
  MapWindowPoints(nullptr, GetParent(parameters), reinterpret_cast<POINT*>(&bounds), 2);
  const int side = bounds.bottom - bounds.top;
  const int width = (name.right - name.left) - side;
  MoveTo(parameters, bounds.left, bounds.top, width, side);
  MoveTo(Control(kBtnRef), bounds.left + width, bounds.top, side, side);
}

void TPREF_FORM::OnDpiChanged(int previousDpi) {
  packages_.View().RescaleColumns(previousDpi, Dpi());
  const HIMAGELIST old = IL1;
  IL1 = LoadImageStrip(IDB_PLATFORMS, ImageSizeFor(Dpi()));
  TabCtrl_SetImageList(pcLibrary.Handle(), IL1);
  ImageList_Destroy(old);
  // The pages fill their tab controls at the new size; what lies on them
  // follows.
  PC1.FitPages(Font());
  Components().Layout();
  pcLibrary.FitPages(Font());
  LayOutParameterRow();
  for (const std::unique_ptr<TframeLibrary>& frame : frames_) frame->Rescale(Font(), Dpi());
}

}  // namespace ombrisk
