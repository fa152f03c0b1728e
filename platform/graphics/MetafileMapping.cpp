#include "platform/graphics/MetafileMapping.h"

#include <algorithm>
#include <cmath>

namespace graphics {

TAffine TAffine::After(const TAffine& First) const {
  return {A * First.A + C * First.B, B * First.A + D * First.B, A * First.C + C * First.D,
          B * First.C + D * First.D, A * First.E + C * First.F + E, B * First.E + D * First.F + F};
}

TMetaMapping::TMetaMapping(const TMetafileContent& Content, const base::TRect& Dest) : FKind(Content.Kind) {
  const base::TRect& Frame = Content.Frame;
  if (FKind == TMetafileKind::Placeable) {
    FMode = MM_ANISOTROPIC;
    FWindowOrgX = Frame.Left;
    FWindowOrgY = Frame.Top;
    FWindowExtX = Frame.Width();
    FWindowExtY = Frame.Height();
    FViewportOrgX = Dest.Left;
    FViewportOrgY = Dest.Top;
    FViewportExtX = Dest.Width();
    FViewportExtY = Dest.Height();
  } else {
    FPixelsPerMMX = double(Content.DevicePixels.X) / Content.DeviceMillimeters.X;
    FPixelsPerMMY = double(Content.DevicePixels.Y) / Content.DeviceMillimeters.Y;
    // The frame is in 0.01 mm of the reference device.
    const double Left = Frame.Left * FPixelsPerMMX / 100, Right = Frame.Right * FPixelsPerMMX / 100;
    const double Top = Frame.Top * FPixelsPerMMY / 100, Bottom = Frame.Bottom * FPixelsPerMMY / 100;
    const double SX = Dest.Width() / (Right - Left), SY = Dest.Height() / (Bottom - Top);
    FDevice = {SX, 0, 0, SY, Dest.Left - Left * SX, Dest.Top - Top * SY};
  }
  Update();
}

bool TMetaMapping::Apply(const TMetaRecord& R) {
  const auto Arg = [&](size_t I) { return double(R.Args[I]); };
  const bool Placeable = FKind == TMetafileKind::Placeable;
  switch (R.Op) {
    case TMetaOp::SetMapMode:
      if (!Placeable && R.Args[0] >= MM_TEXT && R.Args[0] <= MM_ANISOTROPIC) FMode = R.Args[0];
      break;
    case TMetaOp::SetWindowOrg: FWindowOrgX = Arg(0), FWindowOrgY = Arg(1); break;
    case TMetaOp::SetWindowExt:
      if (R.Args[0] != 0 && R.Args[1] != 0) FWindowExtX = Arg(0), FWindowExtY = Arg(1);
      break;
    case TMetaOp::OffsetWindowOrg: FWindowOrgX += Arg(0), FWindowOrgY += Arg(1); break;
    case TMetaOp::ScaleWindowExt:
      if (R.Args[1] != 0 && R.Args[3] != 0 && R.Args[0] != 0 && R.Args[2] != 0)
        FWindowExtX = FWindowExtX * Arg(0) / Arg(1), FWindowExtY = FWindowExtY * Arg(2) / Arg(3);
      break;
    case TMetaOp::SetViewportOrg:
      if (!Placeable) FViewportOrgX = Arg(0), FViewportOrgY = Arg(1);
      break;
    case TMetaOp::SetViewportExt:
      if (!Placeable && R.Args[0] != 0 && R.Args[1] != 0) FViewportExtX = Arg(0), FViewportExtY = Arg(1);
      break;
    case TMetaOp::OffsetViewportOrg:
      if (!Placeable) FViewportOrgX += Arg(0), FViewportOrgY += Arg(1);
      break;
    case TMetaOp::ScaleViewportExt:
      if (!Placeable && R.Args[1] != 0 && R.Args[3] != 0 && R.Args[0] != 0 && R.Args[2] != 0)
        FViewportExtX = FViewportExtX * Arg(0) / Arg(1), FViewportExtY = FViewportExtY * Arg(2) / Arg(3);
      break;
    case TMetaOp::SetWorldTransform: FWorld = TAffine::FromXform(R.Xform); break;
    case TMetaOp::ModifyWorldTransform:
      switch (R.Args[0]) {
        case MWT_IDENTITY: FWorld = {}; break;
        case MWT_LEFTMULTIPLY: FWorld = FWorld.After(TAffine::FromXform(R.Xform)); break;
        case MWT_RIGHTMULTIPLY: FWorld = TAffine::FromXform(R.Xform).After(FWorld); break;
        case MWT_SET: FWorld = TAffine::FromXform(R.Xform); break;
        default: break;
      }
      break;
    default: return false;
  }
  Update();
  return true;
}

void TMetaMapping::Update() {
  // Millimetres per logical unit of the metric and English modes; y grows upwards.
  double MM = 0;
  switch (FMode) {
    case MM_LOMETRIC: MM = 0.1; break;
    case MM_HIMETRIC: MM = 0.01; break;
    case MM_LOENGLISH: MM = 0.254; break;
    case MM_HIENGLISH: MM = 0.0254; break;
    case MM_TWIPS: MM = 25.4 / 1440; break;
    default: break;
  }
  double SX = 1, SY = 1;
  if (MM != 0) {
    SX = MM * FPixelsPerMMX;
    SY = -MM * FPixelsPerMMY;
  } else if (FMode == MM_ISOTROPIC || FMode == MM_ANISOTROPIC) {
    SX = FViewportExtX / FWindowExtX;
    SY = FViewportExtY / FWindowExtY;
    if (FMode == MM_ISOTROPIC) {
      const double S = std::min(std::fabs(SX), std::fabs(SY));
      SX = std::copysign(S, SX);
      SY = std::copysign(S, SY);
    }
  }
  const TAffine Page{SX, 0, 0, SY, FViewportOrgX - FWindowOrgX * SX, FViewportOrgY - FWindowOrgY * SY};
  FTotal = FDevice.After(Page.After(FWorld));
}

double TMetaMapping::ScaleX() const { return std::hypot(FTotal.A, FTotal.B); }
double TMetaMapping::ScaleY() const { return std::hypot(FTotal.C, FTotal.D); }

}  // namespace graphics
