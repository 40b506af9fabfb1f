#pragma once
// The diagram's scroll bars: one per direction, a child QScrollBar of the
// view. An Automatic bar follows the diagram's extent after every drawing
// (range, page size, visibility); a manual one keeps the range it is given.
//
// The range here includes the thumb, as the settings do: Qt's maximum is
// Max - PageSize + 1. Scrolling goes through Scroll, which applies the
// small and large steps of the settings and moves the view.

#include "canvas/GraphicsObject.h"
#include "core/ClassInfo.h"

#include <QPointer>
#include <QScrollBar>


class TCustomTree;

DX_ENUM(TKorScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom,
        scEndScroll)

class TKorScrollBar : public TGraphicsObject
{
    DX_OBJECT(TKorScrollBar)
public:
    TKorScrollBar(TCustomTree *tree, bool horizontal);
    ~TKorScrollBar() override;

    bool Horizontal() const { return FHorizontal; }

    // Range, page size and visibility follow the diagram.
    bool Automatic() const { return FAutomatic; }
    // Switching it on hides the bar until the next drawing decides.
    void SetAutomatic(bool v);
    // Shown (decided by the diagram while Automatic).
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    int Min() const { return FMin; }
    void SetMin(int v) { SetRange(v, FMax); }
    int Max() const { return FMax; }
    void SetMax(int v) { SetRange(FMin, v); }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int v);
    // Changes the control only when the range really changes.
    void SetRange(int min, int max);
    int Position() const { return FPosition; }
    void SetPosition(int v);

    // The steps of the line and page moves: 10 and 50 without a page size,
    // else a twentieth and a fifth of it, plus one.
    int SmallStep() const { return FPageSize == 0 ? 10 : FPageSize / 20 + 1; }
    int LargeStep() const { return FPageSize == 0 ? 50 : FPageSize / 5 + 1; }
    // A scroll request: the new position, and the view's offset becomes its
    // negative. The end of a scroll moves nothing. Answers the position.
    int Scroll(TKorScrollCode code, int trackPosition = 0);

    // After a drawing: the bar of an axis along which the diagram reaches
    // from `lo` to `hi` (screen pixels at zero offset) in a window `size`
    // pixels long, scrolled by `offset`.
    void UpdateRange(int lo, int hi, int size, int offset);
    // The view's offset changed: the thumb follows.
    void Follow(int offset);
    // Puts every setting on the control again (after loading).
    void Apply();

    QScrollBar *Control() const { return FControl.data(); }

    // Copies Flat, Min, Max and Visible.
    void Assign(const TPersistent *source) override;

private:
    void Show(bool visible);
    bool ControlAllowed() const;
    void ApplyRange();

    TCustomTree *FTree;
    QPointer<QScrollBar> FControl;
    bool FHorizontal;
    bool FAutomatic = true;
    bool FVisible = false;
    bool FFlat = false;
    int FMin = 0;
    int FMax = 1000;
    int FPageSize = 0;
    int FPosition = 0;
};
