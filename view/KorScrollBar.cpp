#include "view/KorScrollBar.h"

#include "view/CustomTree.h"

#include <QScrollBar>
#include <algorithm>

const TClassInfo &TKorScrollBar::StaticClassInfo()
{
    using B = TKorScrollBar;
    // What an automatic bar shows is worked out anew: only a manual bar
    // keeps its range and visibility in a file.
    const auto manual = [](const B &b) { return !b.Automatic(); };
    static const TClassInfo info = TClassBuilder<B>("TKorScrollBar", TGraphicsObject::StaticClassInfo())
                                       .Boolean("Automatic", &B::Automatic, &B::SetAutomatic, true)
                                       .Boolean("Flat", &B::Flat, &B::SetFlat, false)
                                       .Integer("Max", &B::Max, &B::SetMax, 1000)
                                       .Stored([manual](const B &b) { return manual(b) && b.Max() != 1000; })
                                       .Integer("Min", &B::Min, &B::SetMin, 0)
                                       .Stored([manual](const B &b) { return manual(b) && b.Min() != 0; })
                                       .Integer("PageSize", &B::PageSize, &B::SetPageSize, 0)
                                       .Stored([manual](const B &b) { return manual(b) && b.PageSize() != 0; })
                                       .Boolean("Visible", &B::Visible, &B::SetVisible, false)
                                       .Stored([manual](const B &b) { return manual(b) && b.Visible(); });
    return info;
}

TKorScrollBar::TKorScrollBar(TCustomTree *tree, bool horizontal) : FTree(tree), FHorizontal(horizontal)
{
    if (!tree)
        return;
    FControl = new QScrollBar(horizontal ? Qt::Horizontal : Qt::Vertical, tree);
    FControl->setObjectName(horizontal ? QStringLiteral("HorzScrollBar") : QStringLiteral("VertScrollBar"));
    FControl->hide();
    FControl->setRange(0, FMax);
    QObject::connect(FControl.data(), &QAbstractSlider::actionTriggered, FControl.data(), [this](int action) {
        TKorScrollCode code;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; break;
        case QAbstractSlider::SliderSingleStepSub: code = scLineUp; break;
        case QAbstractSlider::SliderPageStepAdd: code = scPageDown; break;
        case QAbstractSlider::SliderPageStepSub: code = scPageUp; break;
        case QAbstractSlider::SliderToMinimum: code = scTop; break;
        case QAbstractSlider::SliderToMaximum: code = scBottom; break;
        case QAbstractSlider::SliderMove: code = scTrack; break;
        default: return;
        }
        Scroll(code, FControl->sliderPosition());
        // Qt moved the thumb by its own steps; the bar's steps hold.
        FControl->setSliderPosition(FPosition);
    });
}

TKorScrollBar::~TKorScrollBar()
{
    delete FControl.data();
}

bool TKorScrollBar::ControlAllowed() const
{
    return FControl && FTree && !FTree->IsLoading();
}

void TKorScrollBar::SetAutomatic(bool v)
{
    if (v == FAutomatic)
        return;
    FAutomatic = v;
    // The next drawing decides again whether the bar is needed.
    if (v)
        Show(false);
    Changed();
}

void TKorScrollBar::SetVisible(bool v)
{
    if (FAutomatic || v == FVisible)
        return;
    if (v && FTree && !FTree->IsLoading()) {
        // A manual bar spans the pages (a file holds a range of its own).
        if (FHorizontal)
            SetRange(0, FTree->Page()->PageWidth());
        else
            SetRange(0, FTree->Page()->Count() * FTree->Page()->PageHeight());
    }
    Show(v);
    Changed();
}

void TKorScrollBar::SetFlat(bool v)
{
    if (v == FFlat)
        return;
    FFlat = v;
    Changed();
}

void TKorScrollBar::SetPageSize(int v)
{
    if (v == FPageSize || v < 0)
        return;
    FPageSize = v;
    ApplyRange();
}

void TKorScrollBar::SetRange(int min, int max)
{
    if (min == FMin && max == FMax)
        return;
    FMin = min;
    FMax = max;
    ApplyRange();
}

void TKorScrollBar::SetPosition(int v)
{
    FPosition = v;
    if (ControlAllowed() && FControl->value() != v) {
        const QSignalBlocker quiet(FControl.data());
        FControl->setValue(v);
    }
}

void TKorScrollBar::ApplyRange()
{
    if (!ControlAllowed())
        return;
    const int qtMax = std::max(FMin, FPageSize > 0 ? FMax - FPageSize + 1 : FMax);
    const QSignalBlocker quiet(FControl.data());
    FControl->setRange(FMin, qtMax);
    FControl->setPageStep(std::max(1, FPageSize));
    FControl->setSingleStep(SmallStep());
    FControl->setValue(FPosition);
}

void TKorScrollBar::Show(bool visible)
{
    FVisible = visible;
    if (!ControlAllowed())
        return;
    if (FControl->isVisibleTo(FTree) != visible) {
        FControl->setVisible(visible);
        FTree->LayoutScrollBars();
    }
}

void TKorScrollBar::Apply()
{
    if (!ControlAllowed())
        return;
    ApplyRange();
    SetPosition(FPosition);
    FControl->setVisible(FVisible);
    FTree->LayoutScrollBars();
}

int TKorScrollBar::Scroll(TKorScrollCode code, int trackPosition)
{
    const int p = FPageSize;
    int pos = FPosition;
    switch (code) {
    case scLineUp: pos = std::max(FMin, pos - SmallStep()); break;
    case scLineDown: pos = std::min(FMax - p + 1, pos + SmallStep()); break;
    case scPageUp: pos = std::max(FMin, pos - LargeStep()); break;
    case scPageDown: pos = std::min(FMax - p, pos + LargeStep()); break;
    case scPosition:
    case scTrack: pos = trackPosition; break;
    case scTop: pos = FMin; break;
    case scBottom: pos = FMax - p; break;
    case scEndScroll: return FPosition;
    }
    SetPosition(pos);
    if (FTree) {
        TView3DOptions *o = FTree->View3DOptions();
        if (FHorizontal)
            o->SetHorizOffset(-pos);
        else
            o->SetVertOffset(-pos);
    }
    return FPosition;
}

void TKorScrollBar::UpdateRange(int lo, int hi, int size, int offset)
{
    const bool needed = !(hi < lo || (lo + offset >= 0 && hi + offset < size));
    if (!needed) {
        if (FAutomatic && FVisible)
            Show(false);
        return;
    }
    if (FAutomatic && !FVisible) {
        FMin = FMax = 0;
        Show(true);
    }
    const int min = lo + offset < 0 ? lo - 1 : -offset;
    const int max = hi + offset < size ? size - offset - 1 : hi + 1;
    FPosition = -offset;
    SetRange(min, max);
    if (FAutomatic)
        SetPageSize(size);
    SetPosition(-offset);
}

void TKorScrollBar::Follow(int offset)
{
    SetPosition(-offset);
}

void TKorScrollBar::Assign(const TPersistent *source)
{
    auto *b = dynamic_cast<const TKorScrollBar *>(source);
    if (!b) {
        TGraphicsObject::Assign(source);
        return;
    }
    SetFlat(b->FFlat);
    SetRange(b->FMin, b->FMax);
    SetVisible(b->FVisible);
}
