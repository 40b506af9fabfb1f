#include "canvas/PanelNoCaption.h"

TCustomPanelNoCaption::TCustomPanelNoCaption(QWidget *parent) : QWidget(parent)
{
    // The panel paints every pixel itself: no background erase, no flash.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

TCustomPanelNoCaption::~TCustomPanelNoCaption() = default;

void TCustomPanelNoCaption::PanelChanged()
{
    update();
}

void TCustomPanelNoCaption::SetColor(TColor value)
{
    if (FColor == value)
        return;
    FColor = value;
    setAttribute(Qt::WA_OpaquePaintEvent, value != clNone);
    setAttribute(Qt::WA_TranslucentBackground, value == clNone);
    PanelChanged();
}

void TCustomPanelNoCaption::SetBevelInner(TPanelBevel value)
{
    if (FBevelInner == value)
        return;
    FBevelInner = value;
    PanelChanged();
}

void TCustomPanelNoCaption::SetBevelOuter(TPanelBevel value)
{
    if (FBevelOuter == value)
        return;
    FBevelOuter = value;
    PanelChanged();
}

void TCustomPanelNoCaption::SetBevelWidth(int value)
{
    if (FBevelWidth == value || value < 1)
        return;
    FBevelWidth = value;
    PanelChanged();
}

void TCustomPanelNoCaption::SetBorderWidth(int value)
{
    if (FBorderWidth == value || value < 0)
        return;
    FBorderWidth = value;
    PanelChanged();
}
