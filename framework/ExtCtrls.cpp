#include "framework/ExtCtrls.h"

#include "framework/ClassTable.h"
#include "framework/Forms.h"

// --- TImage ---------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 105, 105);
    FIcon.OnChange = [this](TIcon&) { PictureChanged(); };
}

void TImage::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    PictureChanged();
}

void TImage::SetCenter(bool Value)
{
    if (Value == FCenter)
        return;
    FCenter = Value;
    Invalidate();
}

void TImage::SetStretch(bool Value)
{
    if (Value == FStretch)
        return;
    FStretch = Value;
    PictureChanged();
}

void TImage::PictureChanged()
{
    if (FAutoSize && !FIcon.Empty())
        SetBounds(Left(), Top(), FIcon.Width(), FIcon.Height());
    Invalidate();
}

RECT TImage::DestRect() const
{
    const RECT client = ClientRect();
    if (FStretch || FIcon.Empty())
        return client;
    const int w = FIcon.Width();
    const int h = FIcon.Height();
    if (!FCenter)
        return RECT{0, 0, w, h};
    const int x = (client.right - w) / 2;
    const int y = (client.bottom - h) / 2;
    return RECT{x, y, x + w, y + h};
}

void TImage::Paint()
{
    const RECT client = ClientRect();
    const TColor background = Parent() ? Parent()->Color() : Color();
    Canvas().SetBrushColor(background);
    Canvas().FillRect(client);
    if (FIcon.Empty())
        return;
    const RECT dest = DestRect();
    DrawIconEx(Canvas().Handle(), dest.left, dest.top, FIcon.Handle(), dest.right - dest.left, dest.bottom - dest.top,
               0, nullptr, DI_NORMAL);
}

// --- TBevel ---------------------------------------------------------------------

namespace {
constexpr int EdgeWidth = 2;

// The band of the client rectangle a shape draws on.
RECT LineRect(TBevelShape shape, const RECT& client)
{
    RECT r = client;
    switch (shape) {
    case bsTopLine: r.bottom = r.top + EdgeWidth; break;
    case bsBottomLine: r.top = r.bottom - EdgeWidth; break;
    case bsLeftLine: r.right = r.left + EdgeWidth; break;
    case bsRightLine: r.left = r.right - EdgeWidth; break;
    default: break;
    }
    return r;
}
}  // namespace

TBevel::TBevel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(TControlStyle{csOpaque});
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value)
{
    if (Value == FShape)
        return;
    FShape = Value;
    UpdateRegion();
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Invalidate();
}

void TBevel::HandleCreated()
{
    TCustomControl::HandleCreated();
    UpdateRegion();
}

void TBevel::BoundsChanged()
{
    TCustomControl::BoundsChanged();
    UpdateRegion();
}

void TBevel::UpdateRegion()
{
    if (!HandleAllocated())
        return;
    const RECT client{0, 0, Width(), Height()};
    HRGN region = nullptr;
    if (FShape == bsSpacer) {
        region = CreateRectRgn(0, 0, 0, 0);
    } else if (FShape == bsBox || FShape == bsFrame) {
        region = CreateRectRgn(client.left, client.top, client.right, client.bottom);
        TGdiObject<HRGN> inner(CreateRectRgn(client.left + EdgeWidth, client.top + EdgeWidth, client.right - EdgeWidth,
                                             client.bottom - EdgeWidth));
        if (region && inner)
            CombineRgn(region, region, inner.Get(), RGN_DIFF);
    } else {
        const RECT band = LineRect(FShape, client);
        region = CreateRectRgn(band.left, band.top, band.right, band.bottom);
    }
    ThrowLastErrorIf(!region, "CreateRectRgn");
    // The window owns the region from here on.
    SetWindowRgn(Handle(), region, TRUE);
}

void TBevel::Paint()
{
    if (FShape == bsSpacer)
        return;
    RECT r = ClientRect();
    const bool lowered = FStyle == bsLowered;
    UINT edge = 0;
    UINT sides = BF_RECT;
    switch (FShape) {
    case bsBox: edge = lowered ? EDGE_SUNKEN : EDGE_RAISED; break;
    case bsFrame: edge = lowered ? EDGE_ETCHED : EDGE_BUMP; break;
    default:
        r = LineRect(FShape, r);
        edge = lowered ? EDGE_ETCHED : EDGE_BUMP;
        sides = (FShape == bsTopLine || FShape == bsBottomLine) ? BF_TOP : BF_LEFT;
        break;
    }
    DrawEdge(Canvas().Handle(), &r, edge, sides);
}

// --- registration ---------------------------------------------------------------

void RegisterExtControls()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterFrameworkClasses();
    RegisterEnum<TBevelShape>({{"bsBox", bsBox},
                               {"bsFrame", bsFrame},
                               {"bsTopLine", bsTopLine},
                               {"bsBottomLine", bsBottomLine},
                               {"bsLeftLine", bsLeftLine},
                               {"bsRightLine", bsRightLine},
                               {"bsSpacer", bsSpacer}});
    RegisterEnum<TBevelStyle>({{"bsLowered", bsLowered}, {"bsRaised", bsRaised}});
    RegisterComponentClass<TImage, TCustomControl>("TImage")
        .Property("AutoSize", &TImage::SetAutoSize)
        .Property("Center", &TImage::SetCenter)
        .Property("Stretch", &TImage::SetStretch);
    RegisterComponentClass<TBevel, TCustomControl>("TBevel")
        .Property("Shape", &TBevel::SetShape)
        .Property("Style", &TBevel::SetStyle);
}
