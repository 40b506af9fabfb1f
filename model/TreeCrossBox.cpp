#include "model/TreeCrossBox.h"

const TClassInfo &TTreeCrossBoxPen::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TTreeCrossBoxPen>("TTreeCrossBoxPen", TChartPen::StaticClassInfo()).Redefault("Color", clGray);
    return info;
}

TTreeCrossBoxPen::TTreeCrossBoxPen(TEvent<TGraphicsObject *> onChange)
{
    SetColor(clGray); // a default, not a change: reported to nobody yet
    OnChange = std::move(onChange);
}

const TClassInfo &TTreeNodeCrossBox::StaticClassInfo()
{
    using B = TTreeNodeCrossBox;
    static const TClassInfo info =
        TClassBuilder<B>("TTreeNodeCrossBox", TGraphicsObject::StaticClassInfo())
            .Color("BackColor", &B::BackColor, &B::SetBackColor, clNone)
            .Object<TTreeCrossBoxPen>("Border", &B::Border, &B::Border)
            .Object<TChartBrush>("Brush", &B::Brush, &B::Brush)
            .Integer("ClickTolerance", &B::ClickTolerance, &B::SetClickTolerance, 0)
            .Object<TChartPen>("SignPen", &B::SignPen, &B::SignPen)
            .Integer("Size", &B::Size, &B::SetSize, 4)
            .Enum("Style", &B::Style, &B::SetStyle, cbsSquare)
            .Boolean("Visible", &B::Visible, &B::SetVisible, true);
    return info;
}

TTreeNodeCrossBox::TTreeNodeCrossBox(TEvent<TGraphicsObject *> onChange)
{
    auto relay = [this](TGraphicsObject *) { Changed(); };
    FBorder = std::make_unique<TTreeCrossBoxPen>(relay);
    FBrush = std::make_unique<TChartBrush>(relay);
    FSignPen = std::make_unique<TChartPen>(relay);
    OnChange = std::move(onChange);
}

TTreeNodeCrossBox::~TTreeNodeCrossBox() = default;

void TTreeNodeCrossBox::Assign(const TPersistent *source)
{
    if (auto *b = dynamic_cast<const TTreeNodeCrossBox *>(source)) {
        FBorder->Assign(b->FBorder.get());
        FBrush->Assign(b->FBrush.get());
        FSignPen->Assign(b->FSignPen.get());
        SetBackColor(b->FBackColor);
        SetClickTolerance(b->FClickTolerance);
        SetSize(b->FSize);
        SetStyle(b->FStyle);
        SetVisible(b->FVisible);
        return;
    }
    TGraphicsObject::Assign(source);
}
