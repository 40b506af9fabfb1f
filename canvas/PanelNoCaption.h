#pragma once
// TCustomPanelNoCaption: the platform panel the drawing panels derive
// from: a widget with a colour, bevels and a border, whose caption is never
// shown. Its control properties (position, size, visibility, alignment)
// are offered for published declarations (DeclareControlProperties).

#include "canvas/BevelTypes.h"
#include "core/ClassInfo.h"
#include "core/Colors.h"

#include <QWidget>

DX_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)

class TCustomPanelNoCaption : public QWidget
{
    Q_OBJECT
public:
    explicit TCustomPanelNoCaption(QWidget *parent = nullptr);
    ~TCustomPanelNoCaption() override;

    TColor Color() const { return FColor; }
    // clNone makes the window transparent.
    void SetColor(TColor value);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    // Where the host lays the panel out; the panel itself only keeps it.
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value) { FAlign = value; }

    int Left() const { return x(); }
    void SetLeft(int v) { move(v, y()); }
    int Top() const { return y(); }
    void SetTop(int v) { move(x(), v); }
    int Width() const { return width(); }
    void SetWidth(int v) { resize(v, height()); }
    int Height() const { return height(); }
    void SetHeight(int v) { resize(width(), v); }
    // Shown unless hidden on purpose (a window not shown yet counts as
    // visible).
    bool Visible() const { return !(isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide)); }
    void SetVisible(bool v) { setVisible(v); }

protected:
    // Called after a property that changes the picture; repaints.
    virtual void PanelChanged();

private:
    TColor FColor = clWhite;
    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TAlign FAlign = alNone;
};
